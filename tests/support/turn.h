#pragma once

#include "conversation/companion.h"

namespace holvan::testing {

/// One turn on the input line, then the close when the turn asks for it, as
/// every front end runs them; a failed close raises. Returns whether the
/// close ran and succeeded.
bool TalkAndCloseIfAsked(Companion& companion);

}  // namespace holvan::testing
