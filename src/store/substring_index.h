#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/hash_bits.h"
#include "store/hash_slots.h"
#include "store/stop_flag.h"
#include "store/stored_pairs.h"
#include "text/narrow_text.h"

namespace holvan {

/// Finds which keys of a store's pairs (kept by the caller, who passes them to
/// every call) occur by characters inside a line: a hash table over the UTF-16
/// form of every distinct key, probed with a rolling hash of the slices of the
/// line that start at each character. A slice grows only while some key may
/// begin with it, and the table is probed only when the slice may be a key (two
/// bit sets of hashes say so); one-character keys are looked up directly. A
/// line costs a few probes, whatever the number of keys.
class SubstringIndex {
 public:
  /// Forgets every key.
  void Clear();
  /// Indexes every key, replacing what was indexed before; returns early
  /// when stop is set.
  void Build(const StoredPairs& pairs, const StopFlag& stop);
  /// Indexes key i, the newest.
  void Insert(const StoredPairs& pairs, int32_t i);
  /// Calls visit with the position of every key that occurs in line (WidePos
  /// > 0; an empty key never does), in ascending order, until visit returns
  /// true.
  void ForEachKeyIn(const StoredPairs& pairs, std::u16string_view line,
                    const std::function<bool(int32_t)>& visit) const;

  /// What one walk over a key's characters gives: the slot hash of its
  /// UTF-16 form, its length in characters and its first character.
  struct KeyShape {
    uint32_t hash = 0;
    uint32_t length = 0;
    char16_t first = 0;
  };

 private:
  /// Puts the key at position, of the given shape, in front of the later
  /// positions with its key; wide and other are scratch.
  void Place(const StoredPairs& pairs, int32_t position, const KeyShape& shape,
             WideText& wide, WideText& other);
  /// Records a new distinct key, first at position i.
  void CountKey(const KeyShape& shape, int32_t i);
  /// Sets the bits of a key's hash and of its proper beginnings; returns its
  /// shape.
  KeyShape MarkKey(std::string_view key);
  /// Sizes the bit sets for hashes hashes and marks every key afresh.
  void RemarkBits(const StoredPairs& pairs, std::size_t hashes);

  /// Per distinct key: the first position with it; later ones follow through
  /// next_.
  HashSlots slots_;
  /// Per position whose key a later position has too: the next such one.
  std::unordered_map<int32_t, int32_t> next_;
  /// Per UTF-16 unit: the first position of the key of that one character,
  /// or -1 (empty while there is no such key).
  std::vector<int32_t> single_;
  /// Per length in characters: how many distinct keys have it.
  std::vector<int32_t> keys_of_length_;
  /// The hashes of the keys (set A) and of their proper beginnings of two
  /// characters or more (set B).
  HashBits bits_;
  /// Powers of the rolling hash's base, up to the longest key.
  std::vector<uint64_t> powers_ = {1};
};

}  // namespace holvan
