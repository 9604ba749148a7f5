#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace holvan {

/// The slots of an open-addressing hash table from 32-bit hashes to positions
/// in a list its user keeps: probed linearly from the hash's home slot, kept
/// at most seven eighths full. Each slot holds a position and its whole hash
/// side by side, so that a probe that finds its key reads one cache line of
/// the slots and compares the key of no other hash; the user tells a position
/// apart by its own key.
class HashSlots {
 public:
  /// Forgets every entry and frees the slots.
  void Clear() {
    slots_.clear();
    slots_.shrink_to_fit();
    used_ = 0;
  }
  /// Makes room for n entries; when the slots grow, the entries move to
  /// theirs. A failure leaves the slots as they were.
  void Reserve(std::size_t n) {
    if (n <= Room(slots_.size())) return;
    const std::size_t size = std::max(2 * slots_.size(), n + n / 7 + 16);
    std::vector<Slot> grown(size);
    for (const Slot& slot : slots_) {
      if (slot.position < 0) continue;
      std::size_t to = HomeOf(slot.hash, size);
      while (grown[to].position >= 0) to = to + 1 == size ? 0 : to + 1;
      grown[to] = slot;
    }
    slots_ = std::move(grown);
  }
  std::size_t used() const { return used_; }
  /// True when n more entries fit without Reserve.
  bool Fits(std::size_t n) const { return used_ + n <= Room(slots_.size()); }

  /// The first slot of hash whose position same(position) accepts, or the
  /// empty slot where an entry of hash would go.
  template <typename Same>
  std::size_t Probe(uint32_t hash, Same same) const {
    for (std::size_t at = HomeOf(hash);; at = Next(at)) {
      const Slot& slot = slots_[at];
      if (slot.position < 0 || (slot.hash == hash && same(slot.position))) {
        return at;
      }
    }
  }
  bool empty(std::size_t slot) const { return slots_[slot].position < 0; }
  int32_t position(std::size_t slot) const { return slots_[slot].position; }
  /// Puts another position in a filled slot.
  void Replace(std::size_t slot, int32_t position) {
    slots_[slot].position = position;
  }
  /// Puts an entry in the empty slot that Probe gave.
  void Fill(std::size_t slot, uint32_t hash, int32_t position) {
    slots_[slot] = {hash, position};
    ++used_;
  }
  /// Calls visit(position) for every entry of hash, in the order probing
  /// meets them.
  template <typename Visit>
  void ForEachOf(uint32_t hash, Visit visit) const {
    for (std::size_t at = HomeOf(hash); slots_[at].position >= 0;
         at = Next(at)) {
      if (slots_[at].hash == hash) visit(slots_[at].position);
    }
  }
  /// Starts fetching the home slot of hash from memory.
  void Prefetch(uint32_t hash) const {
    __builtin_prefetch(&slots_[HomeOf(hash)]);
  }

 private:
  struct Slot {
    uint32_t hash = 0;
    /// Negative while the slot is empty.
    int32_t position = -1;
  };

  static std::size_t Room(std::size_t size) { return size / 8 * 7; }
  static std::size_t HomeOf(uint32_t hash, std::size_t size) {
    return static_cast<std::size_t>((uint64_t{hash} * size) >> 32);
  }
  std::size_t HomeOf(uint32_t hash) const {
    return HomeOf(hash, slots_.size());
  }
  std::size_t Next(std::size_t at) const {
    return at + 1 == slots_.size() ? 0 : at + 1;
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace holvan
