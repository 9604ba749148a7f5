#pragma once

#include <functional>

#include "conversation/companion.h"
#include "conversation/front_end.h"
#include "term/console.h"
#include "term/options.h"

namespace holvan::term {

/// The core's window, played by a terminal: the input line is a text field,
/// the Transcript is what has been printed, captions become the prompt and the
/// terminal's title.
class TermFrontEnd : public FrontEnd {
 public:
  TermFrontEnd(const Options& options, Console& console);

  /// The companion whose Transcript this front end shows.
  void Attach(Companion& companion) { companion_ = &companion; }
  /// Called when the idle-remark switch turns on from off, to start a fresh
  /// period.
  void OnIdleRemarksRestart(std::function<void()> restart) {
    restart_idle_ = std::move(restart);
  }
  /// True once a close has succeeded: the program ends after the event.
  bool closed() const { return closed_; }
  /// The Talk button's caption ("話す", "記入" in diary mode).
  const NarrowText& talk_caption() const { return talk_caption_; }

  NarrowText InputText() override { return input_; }
  void SetInputText(const NarrowText& text) override { input_ = text; }
  void SetCaption(const NarrowText& caption) override;
  void SetTalkCaption(const NarrowText& caption) override {
    talk_caption_ = caption;
  }
  void SetTranscriptWordWrap(bool) override {}
  void SetTranscriptArrowPointer(bool) override {}
  void TranscriptAppended(const NarrowText& bytes) override;
  void TranscriptCleared() override {}
  void TranscriptLoaded() override;
  void TranscriptDeleted(std::size_t, std::size_t) override {}
  /// A terminal has no selection: "削除" removes the last line.
  WideRange TranscriptSelection() override { return {}; }
  bool IdleRemarksEnabled() override { return idle_remarks_; }
  void SetIdleRemarksEnabled(bool on) override;
  void RequestClose() override;
  void ShowClosingMessage() override;
  void StartProgram(const NarrowText& command_line) override;
  uint64_t UptimeMilliseconds() override;
  uint32_t RandomSeedAtStart() override;
  Moment LocalNow() override;
  NarrowText CurrentDirectory() override;

 private:
  Options options_;
  Console& console_;
  Companion* companion_ = nullptr;
  std::function<void()> restart_idle_;
  NarrowText input_;
  NarrowText talk_caption_;
  bool idle_remarks_ = true;
  bool closed_ = false;
};

}  // namespace holvan::term
