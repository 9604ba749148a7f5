#pragma once

#include <string>
#include <vector>

#include "conversation/view.h"

namespace holvan::testing {

/// A view for tests: records what the core showed and answers its questions
/// from fields the test sets.
class FakeView : public View {
 public:
  void SetLook(const Look& shown) override { look = shown; }
  void TranscriptAppended(std::string_view text,
                          std::size_t appended_size) override {
    appended.emplace_back(text.substr(text.size() - appended_size));
  }
  void TranscriptCleared() override { ++clears; }
  void TranscriptLoaded(std::string_view) override { ++loads; }
  void TranscriptDeleted(std::string_view, std::size_t, std::size_t) override {
    ++deletions;
  }
  WideRange TranscriptSelection(std::string_view) override { return selection; }
  bool IdleRemarksEnabled() override { return idle_enabled; }
  void SetIdleRemarksEnabled(bool on) override { idle_enabled = on; }
  void ShowClosingMessage() override { ++closing_messages; }

  /// The window's look before the first change; the test sets the Talk
  /// caption to the window's "話す".
  Look look{"Holvan", "", true, false};
  std::vector<NarrowText> appended;
  int clears = 0;
  int loads = 0;
  int deletions = 0;
  WideRange selection;
  bool idle_enabled = true;
  int closing_messages = 0;
};

}  // namespace holvan::testing
