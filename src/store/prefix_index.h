#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "store/stop_flag.h"
#include "store/stored_pairs.h"

namespace holvan {

/// The positions of a store's keys (kept by the caller, who passes its pairs to
/// every call) in byte order, cut into blocks that know their smallest
/// position: the keys beginning with a prefix are one run of that order, and
/// the first of them in the list is the smallest position in the run. Beside
/// each position lie the first eight bytes of its key as a number, so that a
/// search mostly reads these and seldom the keys themselves.
class PrefixIndex {
 public:
  /// Forgets every key.
  void Clear();
  /// Indexes every key, replacing what was indexed before; returns early
  /// when stop is set.
  void Build(const StoredPairs& pairs, const StopFlag& stop);
  /// Indexes key i, the newest.
  void Insert(const StoredPairs& pairs, int32_t i);
  /// Position of the first key whose bytes begin with prefix, or -1; an empty
  /// prefix begins no key.
  int32_t FirstStartingWith(const StoredPairs& pairs,
                            std::string_view prefix) const;

 private:
  struct Block {
    std::vector<int32_t> indexes;
    /// The head number of each key, in the same order.
    std::vector<uint64_t> heads;
    int32_t smallest = 0;
  };
  /// A place in the order: a block and a place inside it.
  struct Place {
    std::size_t block = 0;
    std::size_t at = 0;
  };
  /// A text that keys are compared with: whole, or with each key cut to the
  /// text's length.
  class Probe {
   public:
    Probe(std::string_view text, bool whole);
    /// How the key with this head number compares with the text.
    int Compare(uint64_t head, std::string_view key) const;
    /// The same when an equal head number alone settles it; 2 when the key
    /// itself is needed.
    int CompareHeads(uint64_t head) const;

   private:
    std::string_view text_;
    bool whole_;
    uint64_t mask_;
    uint64_t head_;
    bool heads_settle_;
  };

  /// The first place whose key compares above the probe (after = true) or not
  /// below it (after = false).
  Place Bound(const StoredPairs& pairs, const Probe& probe, bool after) const;
  /// The smallest position in [from, to).
  int32_t Smallest(Place from, Place to) const;
  /// Refreshes the head number of block b's last key.
  void NoteLast(std::size_t b);

  std::vector<Block> blocks_;
  /// The head number of each block's last key: the blocks are searched
  /// through these, which lie together in memory.
  std::vector<uint64_t> last_heads_;
};

}  // namespace holvan
