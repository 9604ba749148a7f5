#include "store/first_index_table.h"

#include <bit>
#include <functional>

namespace holvan {
namespace {

// How many keys ahead a bulk build fetches slots.
constexpr std::size_t kAhead = 16;

uint32_t HashOf(std::string_view key) {
  const uint64_t h = std::hash<std::string_view>{}(key);
  return static_cast<uint32_t>(h ^ (h >> 32));
}

}  // namespace

void FirstIndexTable::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  used_ = 0;
}

void FirstIndexTable::Build(const std::vector<NarrowText>& keys) {
  Clear();
  Reserve(keys.size());
  // Hashes first, so that each slot can be fetched from memory a few keys
  // ahead of its use.
  std::vector<uint32_t> hashes(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) hashes[i] = HashOf(keys[i]);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i + kAhead < keys.size()) {
      __builtin_prefetch(&slots_[hashes[i + kAhead] & mask]);
    }
    Slot& slot = slots_[Probe(keys, keys[i], hashes[i])];
    if (slot.index >= 0) continue;
    slot = {hashes[i], static_cast<int32_t>(i)};
    ++used_;
  }
}

void FirstIndexTable::Insert(const std::vector<NarrowText>& keys, int32_t i) {
  Reserve(used_ + 1);
  const NarrowText& key = keys[static_cast<std::size_t>(i)];
  const uint32_t hash = HashOf(key);
  Slot& slot = slots_[Probe(keys, key, hash)];
  if (slot.index >= 0) return;
  slot = {hash, i};
  ++used_;
}

int32_t FirstIndexTable::Find(const std::vector<NarrowText>& keys,
                              std::string_view key) const {
  if (used_ == 0) return -1;
  return slots_[Probe(keys, key, HashOf(key))].index;
}

std::size_t FirstIndexTable::Probe(const std::vector<NarrowText>& keys,
                                   std::string_view key, uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.index < 0) return at;
    if (slot.hash == hash &&
        keys[static_cast<std::size_t>(slot.index)] == key) {
      return at;
    }
  }
}

void FirstIndexTable::Reserve(std::size_t n) {
  if (n * 4 < slots_.size() * 3) return;
  const std::size_t size = std::bit_ceil(n * 4 / 3 + 2);
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(size, Slot{});
  const std::size_t mask = size - 1;
  for (const Slot& slot : old) {
    if (slot.index < 0) continue;
    std::size_t at = slot.hash & mask;
    while (slots_[at].index >= 0) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

}  // namespace holvan
