#pragma once

#include <future>
#include <utility>

#include "os/signals_blocked.h"

namespace holvan {

/// Starts work on a thread of its own, which takes no signal, so that it runs
/// beside the caller on another processor; where no thread can be made, it
/// runs when its end is waited for. The future's get() waits for it and
/// raises what it raised; so does destroying the future, without raising.
template <typename Work>
std::future<void> StartBeside(Work work) {
  const SignalsBlocked blocked;
  return std::async(std::launch::async | std::launch::deferred,
                    std::move(work));
}

}  // namespace holvan
