#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "store/indexed_pairs.h"
#include "store/prefix_index.h"
#include "store/substring_index.h"

namespace holvan {

/// The two indexes over the Brain's keys: by beginning and by occurrence in a
/// line.
struct BrainIndexes {
  void Clear();
  void Build(const StoredPairs& pairs, const StopFlag& stop);
  void Insert(const StoredPairs& pairs, int32_t i);

  PrefixIndex prefixes;
  SubstringIndex substrings;
};

/// What the companion has learned: keys and values (definitions joined by "＊",
/// newest first) paired by position, kept as the lines of "brain.dat"
/// (key "＝" value).
class Brain : public IndexedPairs<BrainIndexes> {
 public:
  Brain();

  /// Index of the first key whose bytes begin with topic (BytePos = 1), or
  /// -1; an empty topic begins no key.
  int32_t FindKeyStartingWith(std::string_view topic) const;

  /// Calls visit with the index of every entry whose key occurs in line
  /// (WidePos > 0; an empty key never does), in list order, until visit
  /// returns true.
  void ForEachKeyIn(std::u16string_view line,
                    const std::function<bool(int32_t)>& visit) const;
};

}  // namespace holvan
