#include "store/first_index_table.h"

#include <functional>

namespace holvan {
namespace {

// How many keys ahead a bulk build fetches slots.
constexpr std::size_t kAhead = 16;

uint32_t HashOf(std::string_view key) {
  const uint64_t h = std::hash<std::string_view>{}(key);
  return static_cast<uint32_t>(h ^ (h >> 32));
}

// Accepts the slot whose position holds key.
auto Holding(const std::vector<NarrowText>& keys, std::string_view key) {
  return [&keys, key](int32_t position) {
    return keys[static_cast<std::size_t>(position)] == key;
  };
}

}  // namespace

void FirstIndexTable::Build(const std::vector<NarrowText>& keys) {
  Clear();
  slots_.Reserve(keys.size());
  // Hashes first, so that each slot can be fetched from memory a few keys
  // ahead of its use.
  std::vector<uint32_t> hashes(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) hashes[i] = HashOf(keys[i]);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i + kAhead < keys.size()) slots_.Prefetch(hashes[i + kAhead]);
    HashSlots::Slot& slot = slots_.Probe(hashes[i], Holding(keys, keys[i]));
    if (slot.position < 0) {
      slots_.Fill(slot, hashes[i], static_cast<int32_t>(i));
    }
  }
}

void FirstIndexTable::Insert(const std::vector<NarrowText>& keys, int32_t i) {
  slots_.Reserve(slots_.used() + 1);
  const NarrowText& key = keys[static_cast<std::size_t>(i)];
  const uint32_t hash = HashOf(key);
  HashSlots::Slot& slot = slots_.Probe(hash, Holding(keys, key));
  if (slot.position < 0) slots_.Fill(slot, hash, i);
}

int32_t FirstIndexTable::Find(const std::vector<NarrowText>& keys,
                              std::string_view key) const {
  if (slots_.used() == 0) return -1;
  return slots_.Probe(HashOf(key), Holding(keys, key)).position;
}

}  // namespace holvan
