#pragma once

#include "text/narrow_text.h"

namespace holvan {

/// What a turn leaves to its front end.
struct TurnOutcome {
  /// The input line's new text, shown selected whole: empty, or the answer
  /// the companion suggests ("いいよ" to its consent question).
  NarrowText input_line;
  /// The turn asked for the close (the fourth insult), which the front end
  /// runs once the turn has returned.
  bool close_asked = false;
};

}  // namespace holvan
