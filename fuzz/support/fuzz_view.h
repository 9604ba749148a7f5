#pragma once

#include "conversation/quiet_view.h"

namespace holvan::fuzz {

/// A quiet view with a selection the input chooses, counting the closing
/// boxes.
class FuzzView : public QuietView {
 public:
  WideRange TranscriptSelection(std::string_view) override { return selection; }
  void ShowClosingMessage() override { ++closing_messages; }

  WideRange selection;
  int closing_messages = 0;
};

}  // namespace holvan::fuzz
