#include "random/random.h"

namespace holvan {

int32_t Random::Below(int32_t n) {
  seed_ = seed_ * 134775813u + 1u;
  if (n <= 0) return 0;
  return static_cast<int32_t>(
      (static_cast<uint64_t>(static_cast<uint32_t>(n)) * seed_) >> 32);
}

uint32_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond) {
  uint32_t seconds =
      (static_cast<uint32_t>(hour) * 60u + static_cast<uint32_t>(minute)) *
          60u +
      static_cast<uint32_t>(second);
  return seconds * 1000u + static_cast<uint32_t>(millisecond);
}

}  // namespace holvan
