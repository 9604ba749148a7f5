#pragma once

#include <cstdint>
#include <string_view>

#include "store/first_index_table.h"
#include "store/indexed_pairs.h"

namespace holvan {

/// The facts from "dic.dat": keys and values paired by position. Taught pairs
/// are appended; nothing is ever written back.
class Dictionary : public IndexedPairs<FirstIndexTable> {
 public:
  /// Index of the first key equal to key, or -1.
  int32_t Find(std::string_view key) const;
};

}  // namespace holvan
