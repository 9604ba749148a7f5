#pragma once

#include <functional>

#include "term/console.h"

namespace holvan::term {

/// Runs one event of the companion. A holvan::Error ends the event where it
/// was raised and its box text goes to stderr as one line, as the window's
/// error box would show it; a failed allocation does the same with the
/// out-of-memory error. Returns false then.
bool RunEvent(Console& console, const std::function<void()>& event);

}  // namespace holvan::term
