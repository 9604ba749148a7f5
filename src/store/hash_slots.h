#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace holvan {

/// The slots of an open-addressing hash table from 32-bit hashes to positions
/// in a list its user keeps: probed linearly from the hash's home slot, kept
/// at most three quarters full.
class HashSlots {
 public:
  struct Slot {
    uint32_t hash = 0;
    /// The position; below 0 while the slot is empty.
    int32_t position = -1;
  };

  /// Forgets every entry and frees the slots.
  void Clear() {
    slots_.clear();
    slots_.shrink_to_fit();
    used_ = 0;
  }
  /// Makes room for n entries; the entries move to their slots in the larger
  /// table.
  void Reserve(std::size_t n) {
    if (n * 4 < slots_.size() * 3) return;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::bit_ceil(n * 4 / 3 + 2), Slot{});
    for (const Slot& slot : old) {
      if (slot.position >= 0) *EmptySlotOf(slot.hash) = slot;
    }
  }
  std::size_t used() const { return used_; }

  /// The first slot of hash that same(position) accepts, or the empty slot
  /// where an entry of hash would go.
  template <typename Same>
  Slot& Probe(uint32_t hash, Same same) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      Slot& slot = slots_[at];
      if (slot.position < 0 || (slot.hash == hash && same(slot.position))) {
        return slot;
      }
    }
  }
  template <typename Same>
  const Slot& Probe(uint32_t hash, Same same) const {
    return const_cast<HashSlots*>(this)->Probe(hash, same);
  }
  /// Puts an entry in the empty slot that Probe gave.
  void Fill(Slot& slot, uint32_t hash, int32_t position) {
    slot = {hash, position};
    ++used_;
  }
  /// Calls visit(position) for every entry of hash, in the order probing
  /// meets them.
  template <typename Visit>
  void ForEachOf(uint32_t hash, Visit visit) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask; slots_[at].position >= 0;
         at = (at + 1) & mask) {
      if (slots_[at].hash == hash) visit(slots_[at].position);
    }
  }
  /// Starts fetching the home slot of hash from memory.
  void Prefetch(uint32_t hash) const {
    __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
  }

 private:
  Slot* EmptySlotOf(uint32_t hash) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].position >= 0) at = (at + 1) & mask;
    return &slots_[at];
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace holvan
