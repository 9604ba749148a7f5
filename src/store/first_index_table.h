#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/growth_room.h"
#include "store/hash_slots.h"
#include "store/stop_flag.h"

namespace holvan {

/// A hash table from a key's bytes to the first position that holds it in a
/// list of keys kept by the caller, who passes key_at (position to key) to
/// every call.
class FirstIndexTable {
 public:
  /// Forgets every key.
  void Clear() { slots_.Clear(); }
  /// Indexes the keys at positions 0 to count - 1, replacing what was
  /// indexed before; returns early when stop is set. Calls on_repeat(k,
  /// first) for each position k whose key an earlier position first has.
  template <typename KeyAt, typename OnRepeat = void (*)(int32_t, int32_t)>
  void Build(
      int32_t count, KeyAt key_at, const StopFlag& stop,
      OnRepeat on_repeat = [](int32_t, int32_t) {});
  /// Indexes the key at i, the newest position; an equal older key keeps its
  /// place.
  template <typename KeyAt>
  void Insert(KeyAt key_at, int32_t i);
  /// The first position of key, or -1.
  template <typename KeyAt>
  int32_t Find(KeyAt key_at, std::string_view key) const;

  /// The hash that a key is filed under.
  static uint32_t HashOf(std::string_view key);

 private:
  // Accepts the slot whose position holds key.
  template <typename KeyAt>
  static auto Holding(const KeyAt& key_at, std::string_view key) {
    return [&key_at, key](int32_t position) { return key_at(position) == key; };
  }

  HashSlots slots_;
};

template <typename KeyAt, typename OnRepeat>
void FirstIndexTable::Build(int32_t count, KeyAt key_at, const StopFlag& stop,
                            OnRepeat on_repeat) {
  // How many keys ahead the slots are fetched from memory.
  constexpr int32_t kAhead = 16;
  Clear();
  slots_.Reserve(GrowthRoom(static_cast<std::size_t>(count)));
  // The hashes of the next kAhead keys, whose slots are on their way.
  uint32_t ahead[kAhead];
  for (int32_t i = 0; i < count + kAhead; ++i) {
    if (StopsAt(stop, i)) return;
    const int32_t k = i - kAhead;
    if (k >= 0) {
      const uint32_t hash = ahead[k % kAhead];
      const std::size_t slot = slots_.Probe(hash, Holding(key_at, key_at(k)));
      if (slots_.empty(slot)) {
        slots_.Fill(slot, hash, k);
      } else {
        on_repeat(k, slots_.position(slot));
      }
    }
    if (i < count) {
      ahead[i % kAhead] = HashOf(key_at(i));
      slots_.Prefetch(ahead[i % kAhead]);
    }
  }
}

template <typename KeyAt>
void FirstIndexTable::Insert(KeyAt key_at, int32_t i) {
  slots_.Reserve(slots_.used() + 1);
  const std::string_view key = key_at(i);
  const uint32_t hash = HashOf(key);
  const std::size_t slot = slots_.Probe(hash, Holding(key_at, key));
  if (slots_.empty(slot)) slots_.Fill(slot, hash, i);
}

template <typename KeyAt>
int32_t FirstIndexTable::Find(KeyAt key_at, std::string_view key) const {
  if (slots_.used() == 0) return -1;
  const std::size_t slot = slots_.Probe(HashOf(key), Holding(key_at, key));
  return slots_.empty(slot) ? -1 : slots_.position(slot);
}

}  // namespace holvan
