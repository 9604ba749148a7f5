#pragma once

#include <atomic>
#include <cstdint>

namespace holvan {

/// Set when a build of indexes is asked to end early: the build looks at it
/// now and then and returns, leaving its indexes half made.
using StopFlag = std::atomic<bool>;

/// Whether a build at its step'th entry is asked to stop; it looks once in
/// 65,536 steps, often enough to end within milliseconds.
inline bool StopsAt(const StopFlag& stop, int64_t step) {
  return (step & 0xFFFF) == 0 && stop.load(std::memory_order_relaxed);
}

}  // namespace holvan
