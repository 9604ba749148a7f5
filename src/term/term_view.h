#pragma once

#include <functional>

#include "conversation/view.h"
#include "term/console.h"

namespace holvan::term {

/// The core's window, played by a terminal: the Transcript is what has been
/// printed, the captions become the prompt and the terminal's title.
class TermView : public View {
 public:
  explicit TermView(Console& console);

  /// Called with the idle-remark switch's new value each time it changes.
  void OnIdleRemarksSwitched(std::function<void(bool on)> switched) {
    idle_remarks_switched_ = std::move(switched);
  }
  /// The Talk button's caption ("話す", "記入" in diary mode).
  const NarrowText& talk_caption() const { return talk_caption_; }

  /// The caption goes to the terminal's title; wrapping and the pointer
  /// belong to the terminal.
  void SetLook(const Look& look) override;
  void TranscriptAppended(std::string_view text,
                          std::size_t appended_size) override;
  void TranscriptCleared() override {}
  void TranscriptLoaded(std::string_view text) override;
  void TranscriptDeleted(std::string_view, std::size_t, std::size_t) override {}
  /// A terminal has no selection: "削除" removes the last line.
  WideRange TranscriptSelection(std::string_view) override { return {}; }
  bool IdleRemarksEnabled() override { return idle_remarks_; }
  void SetIdleRemarksEnabled(bool on) override;
  void ShowClosingMessage() override;

 private:
  Console& console_;
  std::function<void(bool on)> idle_remarks_switched_;
  NarrowText talk_caption_;
  bool idle_remarks_ = true;
};

}  // namespace holvan::term
