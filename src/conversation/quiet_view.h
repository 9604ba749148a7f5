#pragma once

#include "conversation/view.h"

namespace holvan {

/// A view that shows nothing. It keeps only what the companion reads back:
/// the idle-remark switch. Benchmarks and fuzz targets override what else
/// they use.
class QuietView : public View {
 public:
  void SetLook(const Look&) override {}
  void TranscriptAppended(std::string_view, std::size_t) override {}
  void TranscriptCleared() override {}
  void TranscriptLoaded(std::string_view) override {}
  void TranscriptDeleted(std::string_view, std::size_t, std::size_t) override {}
  WideRange TranscriptSelection(std::string_view) override { return {}; }
  bool IdleRemarksEnabled() override { return idle_remarks_; }
  void SetIdleRemarksEnabled(bool on) override { idle_remarks_ = on; }
  void ShowClosingMessage() override {}

 private:
  bool idle_remarks_ = true;
};

}  // namespace holvan
