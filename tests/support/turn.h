#pragma once

#include <functional>
#include <utility>

#include "conversation/companion.h"
#include "conversation/turn.h"

namespace holvan::testing {

/// The companion with its conversation open: tests, benchmarks and fuzz
/// targets set up and look into what a front end cannot reach.
class OpenCompanion : public Companion {
 public:
  using Companion::Companion;
  using Companion::conversation;
};

/// The guard of a caller that lets failures raise.
inline bool Unguarded(const std::function<void()>& event) {
  event();
  return true;
}

/// A typed line as every front end takes it (RunTurn), with the companion's
/// own close; a failed turn or close raises.
inline TurnRun TalkAndCloseIfAsked(Companion& companion, NarrowText line) {
  return RunTurn(companion, std::move(line), Unguarded,
                 [&companion] { companion.Close(); });
}

}  // namespace holvan::testing
