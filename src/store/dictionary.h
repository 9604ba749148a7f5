#pragma once

#include <cstdint>
#include <vector>

#include "store/first_index_table.h"
#include "store/lookup.h"
#include "files/line_list.h"

namespace holvan {

/// The facts from "dic.dat": keys and values paired by position. Taught pairs
/// are appended; nothing is ever written back.
class Dictionary {
 public:
  int32_t Count() const { return keys_.Count(); }
  const NarrowText& Key(int32_t i) const { return keys_.Get(i); }
  const NarrowText& Value(int32_t i) const { return values_.Get(i); }
  void Add(NarrowText key, NarrowText value);
  /// Replaces every entry by the pairs keys[i], values[i] (of equal count),
  /// indexing them in one go.
  void Assign(std::vector<NarrowText> keys, std::vector<NarrowText> values);
  void Clear();
  /// Chooses how Find is answered (indexed at first).
  void SetLookup(Lookup lookup);
  /// Index of the first key equal to key, or -1.
  int32_t Find(std::string_view key) const;

 private:
  /// Rebuilds the index from the keys, or drops it for scans.
  void Reindex();

  LineList keys_;
  LineList values_;
  Lookup lookup_ = Lookup::kIndexed;
  FirstIndexTable index_;
};

}  // namespace holvan
