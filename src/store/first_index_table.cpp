#include "store/first_index_table.h"

#include <cstring>

namespace holvan {
namespace {

constexpr uint64_t kOddMultiplier = 0x9E3779B97F4A7C15ull;

// Spreads every bit of h over all of them.
uint64_t Mixed(uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  return h ^ (h >> 33);
}

}  // namespace

// Eight bytes at a time: keys and lines are short.
uint32_t FirstIndexTable::HashOf(std::string_view key) {
  const char* p = key.data();
  std::size_t left = key.size();
  uint64_t h = left * kOddMultiplier;
  for (; left >= 8; p += 8, left -= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    h = (h ^ word) * kOddMultiplier;
    h ^= h >> 29;
  }
  uint64_t rest = 0;
  for (std::size_t k = 0; k < left; ++k) {
    rest |= uint64_t{static_cast<unsigned char>(p[k])} << (8 * k);
  }
  return static_cast<uint32_t>(Mixed((h ^ rest) * kOddMultiplier));
}

}  // namespace holvan
