#pragma once

#include <cstdint>

#include "conversation/front_end.h"

namespace holvan::bench {

/// A front end that answers the core and shows nothing: the benchmarks time
/// the core alone. Programs are not started and a close request is only
/// noted.
class BenchFrontEnd : public FrontEnd {
 public:
  explicit BenchFrontEnd(NarrowText directory)
      : directory_(std::move(directory)) {}

  /// The line the next turn reads.
  void Type(NarrowText line) { input_ = std::move(line); }
  bool close_requested() const { return close_requested_; }

  NarrowText InputText() override { return input_; }
  void SetInputText(const NarrowText& text) override { input_ = text; }
  void SetCaption(const NarrowText&) override {}
  void SetTalkCaption(const NarrowText&) override {}
  void SetTranscriptWordWrap(bool) override {}
  void SetTranscriptArrowPointer(bool) override {}
  void TranscriptAppended(const NarrowText&) override {}
  void TranscriptCleared() override {}
  void TranscriptLoaded() override {}
  void TranscriptDeleted(std::size_t, std::size_t) override {}
  WideRange TranscriptSelection() override { return {}; }
  bool IdleRemarksEnabled() override { return idle_enabled_; }
  void SetIdleRemarksEnabled(bool on) override { idle_enabled_ = on; }
  void RequestClose() override { close_requested_ = true; }
  void ShowClosingMessage() override {}
  void StartProgram(const NarrowText&) override {}
  uint64_t UptimeMilliseconds() override { return 3723000; }
  uint32_t RandomSeedAtStart() override { return 20240101; }
  Moment LocalNow() override { return {2024, 5, 1, 12, 30, 0, 0}; }
  NarrowText CurrentDirectory() override { return directory_; }

 private:
  NarrowText directory_;
  NarrowText input_;
  bool idle_enabled_ = true;
  bool close_requested_ = false;
};

}  // namespace holvan::bench
