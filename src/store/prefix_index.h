#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/narrow_text.h"

namespace holvan {

/// The positions of a list of keys (kept by the caller, who passes it to every
/// call) in byte order, cut into blocks that know their smallest position: the
/// keys beginning with a prefix are one run of that order, and the first of
/// them in the list is the smallest position in the run.
class PrefixIndex {
 public:
  /// Forgets every key.
  void Clear();
  /// Indexes every entry of keys, replacing what was indexed before.
  void Build(const std::vector<NarrowText>& keys);
  /// Indexes keys[i], the newest entry.
  void Insert(const std::vector<NarrowText>& keys, int32_t i);
  /// Position of the first key whose bytes begin with prefix, or -1; an empty
  /// prefix begins no key.
  int32_t FirstStartingWith(const std::vector<NarrowText>& keys,
                            std::string_view prefix) const;

 private:
  struct Block {
    std::vector<int32_t> indexes;
    int32_t smallest = 0;
    /// A copy of the last key, so that finding a block touches no key.
    NarrowText last;
  };
  /// A place in the order: a block and a place inside it.
  struct Place {
    std::size_t block = 0;
    std::size_t at = 0;
  };

  /// The first place whose key, cut to the prefix's length, is not below the
  /// prefix (after = false) or is above it (after = true).
  Place Bound(const std::vector<NarrowText>& keys, std::string_view prefix,
              bool after) const;
  /// The smallest position in [from, to).
  int32_t Smallest(Place from, Place to) const;

  /// Sets the copy of block b's last key and its head number.
  void SetLast(std::size_t b, std::string_view key);
  /// The first block whose last key, cut to the prefix's length, is not below
  /// the prefix (after = false) or is above it (after = true).
  std::size_t BlockOfBound(std::string_view prefix, bool after) const;

  std::vector<Block> blocks_;
  /// The first eight bytes of each block's last key as a number: the blocks
  /// are searched through these, which lie together in memory.
  std::vector<uint64_t> last_heads_;
};

}  // namespace holvan
