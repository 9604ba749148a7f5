#pragma once

#include <string>
#include <vector>

#include "conversation/companion.h"
#include "conversation/front_end.h"

namespace holvan::testing {

/// A front end for tests: records what the core did and answers its questions
/// from fields the test sets.
class FakeFrontEnd : public FrontEnd {
 public:
  NarrowText InputText() override { return input; }
  void SetInputText(const NarrowText& text) override {
    input = text;
    input_selected_all = true;
  }
  void SetCaption(const NarrowText& text) override { caption = text; }
  void SetTalkCaption(const NarrowText& text) override { talk_caption = text; }
  void SetTranscriptWordWrap(bool on) override { word_wrap = on; }
  void SetTranscriptArrowPointer(bool arrow) override { arrow_pointer = arrow; }
  void TranscriptAppended(const NarrowText& bytes) override {
    appended.push_back(bytes);
  }
  void TranscriptCleared() override { ++clears; }
  void TranscriptLoaded() override { ++loads; }
  void TranscriptDeleted(std::size_t, std::size_t) override { ++deletions; }
  WideRange TranscriptSelection() override { return selection; }
  bool IdleRemarksEnabled() override { return idle_enabled; }
  void SetIdleRemarksEnabled(bool on) override { idle_enabled = on; }
  /// Runs the close as a window would: FormClose at once, errors propagate.
  void RequestClose() override;
  void ShowClosingMessage() override { ++closing_messages; }
  void StartProgram(const NarrowText& command_line) override {
    started.push_back(command_line);
  }
  uint64_t UptimeMilliseconds() override { return uptime_ms; }
  uint32_t RandomSeedAtStart() override { return seed; }
  Moment LocalNow() override { return now; }
  NarrowText CurrentDirectory() override { return directory; }

  /// Set by the test that owns both, so that RequestClose can reach the core.
  Companion* companion = nullptr;

  NarrowText input;
  bool input_selected_all = false;
  NarrowText caption = "Holvan";
  NarrowText talk_caption;  // set by the test to the window's "話す"
  bool word_wrap = true;
  bool arrow_pointer = false;
  std::vector<NarrowText> appended;
  int clears = 0;
  int loads = 0;
  int deletions = 0;
  WideRange selection;
  bool idle_enabled = true;
  int close_requests = 0;
  bool closed = false;
  int closing_messages = 0;
  std::vector<NarrowText> started;
  uint64_t uptime_ms = 0;
  uint32_t seed = 0;
  Moment now;
  NarrowText directory = ".";
};

}  // namespace holvan::testing
