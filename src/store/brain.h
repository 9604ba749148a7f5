#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "store/lookup.h"
#include "store/prefix_index.h"
#include "store/substring_index.h"
#include "files/line_list.h"

namespace holvan {

/// What the companion has learned: keys and values (definitions joined by "＊",
/// newest first) paired by position. Entries are appended and values
/// rewritten in place; nothing is reordered or removed, so the indexes over
/// the keys only ever grow.
class Brain {
 public:
  int32_t Count() const { return keys_.Count(); }
  const NarrowText& Key(int32_t i) const { return keys_.Get(i); }
  const NarrowText& Value(int32_t i) const { return values_.Get(i); }
  void Add(NarrowText key, NarrowText value);
  /// Replaces every entry by the pairs keys[i], values[i] (of equal count),
  /// indexing them in one go.
  void Assign(std::vector<NarrowText> keys, std::vector<NarrowText> values);
  void SetValue(int32_t i, NarrowText value);
  void Clear();
  /// Chooses how the lookups below are answered (indexed at first).
  void SetLookup(Lookup lookup);

  /// Index of the first key whose bytes begin with topic (BytePos = 1), or
  /// -1; an empty topic begins no key.
  int32_t FindKeyStartingWith(std::string_view topic) const;

  /// Calls visit with the index of every entry whose key occurs in line
  /// (WidePos > 0; an empty key never does), in list order, until visit
  /// returns true.
  void ForEachKeyIn(std::u16string_view line,
                    const std::function<bool(int32_t)>& visit) const;

 private:
  /// Rebuilds the indexes from the keys, or drops them for scans.
  void Reindex();

  LineList keys_;
  LineList values_;
  Lookup lookup_ = Lookup::kIndexed;
  PrefixIndex prefixes_;
  SubstringIndex substrings_;
};

}  // namespace holvan
