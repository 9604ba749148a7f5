#pragma once

#include <cstdint>
#include <string_view>

#include "store/first_index_table.h"
#include "store/indexed_pairs.h"

namespace holvan {

/// The index over the Dictionary's keys: the first position of each.
struct DictionaryIndex {
  void Clear() { table.Clear(); }
  void Build(const StoredPairs& pairs, const StopFlag& stop);
  void Insert(const StoredPairs& pairs, int32_t i);

  FirstIndexTable table;
};

/// The facts from "dic.dat": keys and values paired by position, kept as the
/// file's lines (key "*" value). Taught pairs are appended; nothing is ever
/// written back.
class Dictionary : public IndexedPairs<DictionaryIndex> {
 public:
  Dictionary();

  /// Index of the first key equal to key, or -1.
  int32_t Find(std::string_view key) const;
};

}  // namespace holvan
