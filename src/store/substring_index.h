#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "store/hash_bits.h"
#include "store/hash_slots.h"
#include "text/narrow_text.h"

namespace holvan {

/// Finds which keys of a list (kept by the caller, who passes it to every
/// call) occur by characters inside a line: a hash table over the UTF-16 form
/// of every distinct key, probed with a rolling hash of the slices of the line
/// that start at each character. A slice grows only while some key may begin
/// with it, and the table is probed only when the slice may be a key (two bit
/// sets of hashes say so); one-character keys are looked up directly. A line
/// costs a few probes, whatever the number of keys.
class SubstringIndex {
 public:
  /// Forgets every key.
  void Clear();
  /// Indexes every entry of keys, replacing what was indexed before.
  void Build(const std::vector<NarrowText>& keys);
  /// Indexes keys[i], the newest entry.
  void Insert(const std::vector<NarrowText>& keys, int32_t i);
  /// Calls visit with the position of every key that occurs in line (WidePos
  /// > 0; an empty key never does), in ascending order, until visit returns
  /// true.
  void ForEachKeyIn(const std::vector<NarrowText>& keys,
                    std::u16string_view line,
                    const std::function<bool(int32_t)>& visit) const;

 private:
  /// Adds keys[i] with its UTF-16 form wide: as a new key, or at the end of
  /// the positions of its key.
  void Add(const std::vector<NarrowText>& keys, int32_t i,
           std::u16string_view wide, WideText& scratch);
  /// Records a new distinct key, first at position i.
  void CountKey(std::u16string_view wide, int32_t i);
  /// Sets the bits of a key's hash and of its proper beginnings.
  void MarkBits(std::u16string_view wide, uint32_t hash);
  /// Sizes the bit sets for hashes hashes and marks every key afresh.
  void RemarkBits(const std::vector<NarrowText>& keys, std::size_t hashes);

  /// Per distinct key: the first position with it; later ones follow through
  /// next_.
  HashSlots slots_;
  /// Per position: the next position with the same key, or -1.
  std::vector<int32_t> next_;
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
