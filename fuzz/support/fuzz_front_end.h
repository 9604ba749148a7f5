#pragma once

#include <cstdint>

#include "conversation/companion.h"
#include "conversation/front_end.h"

namespace holvan::fuzz {

/// A front end that does nothing outward: no window, no programs started. It
/// keeps the input line, the switches and a selection the input chooses.
class FuzzFrontEnd : public FrontEnd {
 public:
  NarrowText InputText() override { return input; }
  void SetInputText(const NarrowText& text) override { input = text; }
  void SetCaption(const NarrowText&) override {}
  void SetTalkCaption(const NarrowText&) override {}
  void SetTranscriptWordWrap(bool) override {}
  void SetTranscriptArrowPointer(bool) override {}
  void TranscriptAppended(const NarrowText&) override {}
  void TranscriptCleared() override {}
  void TranscriptLoaded() override {}
  void TranscriptDeleted(std::size_t, std::size_t) override {}
  WideRange TranscriptSelection() override { return selection; }
  bool IdleRemarksEnabled() override { return idle_enabled; }
  void SetIdleRemarksEnabled(bool on) override { idle_enabled = on; }
  /// Runs the close as a window does; a failure propagates.
  void RequestClose() override;
  void ShowClosingMessage() override { ++closing_messages; }
  void StartProgram(const NarrowText&) override { ++programs_started; }
  uint64_t UptimeMilliseconds() override { return uptime_ms; }
  uint32_t RandomSeedAtStart() override { return seed; }
  Moment LocalNow() override { return now; }
  NarrowText CurrentDirectory() override { return directory; }

  Companion* companion = nullptr;
  NarrowText input;
  WideRange selection;
  bool idle_enabled = true;
  bool closed = false;
  int closing_messages = 0;
  int programs_started = 0;
  uint64_t uptime_ms = 0;
  uint32_t seed = 0;
  Moment now;
  NarrowText directory;
};

}  // namespace holvan::fuzz
