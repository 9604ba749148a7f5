#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace holvan {

/// The slots of an open-addressing hash table from 32-bit hashes to positions
/// in a list its user keeps: probed linearly from the hash's home slot, kept
/// at most seven eighths full. Each slot holds a position and one byte of its
/// hash (0 while the slot is empty), kept apart so that a probe mostly reads
/// the bytes alone; the user tells a position apart by its own key.
class HashSlots {
 public:
  /// Forgets every entry and frees the slots.
  void Clear() {
    tags_.clear();
    tags_.shrink_to_fit();
    positions_.clear();
    positions_.shrink_to_fit();
    used_ = 0;
  }
  /// Makes room for n entries; when the slots grow, the entries move to
  /// theirs, their hashes asked of hash_of(position). A failure leaves the
  /// slots as they were.
  template <typename HashOf>
  void Reserve(std::size_t n, HashOf hash_of) {
    if (n <= Room(tags_.size())) return;
    const std::size_t size = std::max(2 * tags_.size(), n + n / 7 + 16);
    std::vector<uint8_t> tags(size, 0);
    std::vector<int32_t> positions(size);
    for (std::size_t at = 0; at < tags_.size(); ++at) {
      if (tags_[at] == 0) continue;
      const uint32_t hash = hash_of(positions_[at]);
      std::size_t to = HomeOf(hash, size);
      while (tags[to] != 0) to = to + 1 == size ? 0 : to + 1;
      tags[to] = TagOf(hash);
      positions[to] = positions_[at];
    }
    tags_ = std::move(tags);
    positions_ = std::move(positions);
  }
  std::size_t used() const { return used_; }
  /// True when n more entries fit without Reserve.
  bool Fits(std::size_t n) const { return used_ + n <= Room(tags_.size()); }

  /// The first slot of hash whose position same(position) accepts, or the
  /// empty slot where an entry of hash would go.
  template <typename Same>
  std::size_t Probe(uint32_t hash, Same same) const {
    const uint8_t tag = TagOf(hash);
    for (std::size_t at = HomeOf(hash);; at = Next(at)) {
      if (tags_[at] == 0 || (tags_[at] == tag && same(positions_[at]))) {
        return at;
      }
    }
  }
  bool empty(std::size_t slot) const { return tags_[slot] == 0; }
  int32_t position(std::size_t slot) const { return positions_[slot]; }
  /// Puts another position in a filled slot.
  void Replace(std::size_t slot, int32_t position) {
    positions_[slot] = position;
  }
  /// Puts an entry in the empty slot that Probe gave.
  void Fill(std::size_t slot, uint32_t hash, int32_t position) {
    tags_[slot] = TagOf(hash);
    positions_[slot] = position;
    ++used_;
  }
  /// Calls visit(position) for every entry that may be of hash (its byte of
  /// the hash matches), in the order probing meets them.
  template <typename Visit>
  void ForEachOf(uint32_t hash, Visit visit) const {
    const uint8_t tag = TagOf(hash);
    for (std::size_t at = HomeOf(hash); tags_[at] != 0; at = Next(at)) {
      if (tags_[at] == tag) visit(positions_[at]);
    }
  }
  /// Starts fetching the home slot of hash from memory.
  void Prefetch(uint32_t hash) const {
    const std::size_t at = HomeOf(hash);
    __builtin_prefetch(&tags_[at]);
    __builtin_prefetch(&positions_[at]);
  }

 private:
  static std::size_t Room(std::size_t size) { return size / 8 * 7; }
  // The high bits of the hash choose the home slot, the low ones the tag.
  static std::size_t HomeOf(uint32_t hash, std::size_t size) {
    return static_cast<std::size_t>((uint64_t{hash} * size) >> 32);
  }
  std::size_t HomeOf(uint32_t hash) const { return HomeOf(hash, tags_.size()); }
  static uint8_t TagOf(uint32_t hash) {
    return std::max<uint8_t>(static_cast<uint8_t>(hash), 1);
  }
  std::size_t Next(std::size_t at) const {
    return at + 1 == tags_.size() ? 0 : at + 1;
  }

  std::vector<uint8_t> tags_;
  std::vector<int32_t> positions_;
  std::size_t used_ = 0;
};

}  // namespace holvan
