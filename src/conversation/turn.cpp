#include "conversation/turn.h"

#include <utility>

namespace holvan {

TurnRun RunTurn(Companion& companion, NarrowText line, const EventGuard& guard,
                const std::function<void()>& close) {
  TurnOutcome outcome;
  guard([&] { outcome = companion.Talk(std::move(line)); });
  return {std::move(outcome.input_line), outcome.close_asked && guard(close)};
}

}  // namespace holvan
