#pragma once

#include <cstdint>

namespace holvan {

/// The program's one pseudo-random generator: a 32-bit linear congruential
/// state advanced by every draw.
class Random {
 public:
  /// Sets the state.
  void SetSeed(uint32_t seed) { seed_ = seed; }
  uint32_t seed() const { return seed_; }

  /// Advances the state; returns 0 to n - 1 (0 for n <= 0).
  int32_t Below(int32_t n);

 private:
  uint32_t seed_ = 0;
};

/// Milliseconds since midnight: the seed a clock reading gives.
uint32_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond);

}  // namespace holvan
