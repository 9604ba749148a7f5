#pragma once

#include <functional>

#include "conversation/companion.h"
#include "text/narrow_text.h"

namespace holvan {

/// Runs one event of the companion as its front end does: a failure ends the
/// event and is reported there. Returns whether the event ran to its end.
using EventGuard = std::function<bool(const std::function<void()>& event)>;

/// What a front end shows once a typed line's turn has run.
struct TurnRun {
  /// The input line's new text, shown selected whole; empty after a failed
  /// turn.
  NarrowText input_line;
  /// The turn asked for the close and the close ran to its end.
  bool closed = false;
};

/// A typed line as every front end takes it: one turn on it, then, when the
/// turn asked for it, the front end's close (Companion::Close and what the
/// front end does around it). Each runs as one event through guard.
TurnRun RunTurn(Companion& companion, NarrowText line, const EventGuard& guard,
                const std::function<void()>& close);

}  // namespace holvan
