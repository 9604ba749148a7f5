#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "files/line_list.h"
#include "store/growth_room.h"
#include "store/lookup.h"

namespace holvan {

/// Keys and values paired by position, with the indexes Indexes keeps over
/// the keys (Clear, Build, Insert), or none while lookups scan the keys.
/// Pairs are appended and values rewritten in place; nothing is reordered or
/// removed, so the indexes only ever grow. Brain and Dictionary are such
/// pairs.
template <typename Indexes>
class IndexedPairs {
 public:
  int32_t Count() const { return keys_.Count(); }
  const NarrowText& Key(int32_t i) const { return keys_.Get(i); }
  const NarrowText& Value(int32_t i) const { return values_.Get(i); }
  void Add(NarrowText key, NarrowText value) {
    const int32_t i = keys_.Add(std::move(key));
    values_.Add(std::move(value));
    if (lookup_ == Lookup::kIndexed) indexes_.Insert(keys_.entries(), i);
  }
  /// Replaces every pair by keys[i], values[i] (of equal count), indexing
  /// them in one go.
  void Assign(std::vector<NarrowText> keys, std::vector<NarrowText> values) {
    keys.reserve(GrowthRoom(keys.size()));
    values.reserve(GrowthRoom(values.size()));
    keys_.Assign(std::move(keys));
    values_.Assign(std::move(values));
    Reindex();
  }
  void SetValue(int32_t i, NarrowText value) {
    values_.Put(i, std::move(value));
  }
  /// Chooses how lookups are answered (indexed at first).
  void SetLookup(Lookup lookup) {
    lookup_ = lookup;
    Reindex();
  }

 protected:
  const std::vector<NarrowText>& keys() const { return keys_.entries(); }
  /// Whether lookups scan the keys instead of asking the indexes.
  bool scans() const { return lookup_ == Lookup::kScan; }
  const Indexes& indexes() const { return indexes_; }

 private:
  void Reindex() {
    indexes_.Clear();
    if (lookup_ == Lookup::kIndexed) indexes_.Build(keys_.entries());
  }

  LineList keys_;
  LineList values_;
  Lookup lookup_ = Lookup::kIndexed;
  Indexes indexes_;
};

}  // namespace holvan
