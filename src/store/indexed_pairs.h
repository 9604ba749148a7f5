#pragma once

#include <cstdint>
#include <string_view>

#include "files/file_bytes.h"
#include "store/lookup.h"
#include "store/stored_pairs.h"

namespace holvan {

/// Keys and values paired by position, with the indexes Indexes keeps over
/// the keys (Clear, Build, Insert), or none while lookups scan the keys.
/// Pairs are appended and values rewritten in place; nothing is reordered or
/// removed, so the indexes only ever grow. Brain and Dictionary are such
/// pairs. Keys and values are views that stay valid until the pairs change.
template <typename Indexes>
class IndexedPairs {
 public:
  /// separator joins key and value in the lines the pairs are kept as.
  explicit IndexedPairs(std::string_view separator) : pairs_(separator) {}

  int32_t Count() const { return pairs_.Count(); }
  /// Key i; an index outside 0 to Count() - 1 raises the list-index error.
  std::string_view Key(int32_t i) const { return pairs_.Key(i); }
  /// Value i; an index outside raises the list-index error.
  std::string_view Value(int32_t i) const { return pairs_.Value(i); }
  void Add(std::string_view key, std::string_view value) {
    const int32_t i = pairs_.Add(key, value);
    if (lookup_ == Lookup::kIndexed) {
      ChangeIndexes(lookup_, indexes_, [&] { indexes_.Insert(pairs_, i); });
    }
  }
  /// Replaces every pair by those split makes of the lines of a file's bytes
  /// (see StoredPairs::Load), indexing them in one go.
  void Load(FileBytes file, StoredPairs::Split split) {
    pairs_.Load(std::move(file), split);
    Reindex();
  }
  void SetValue(int32_t i, std::string_view value) {
    pairs_.SetValue(i, value);
  }
  /// Chooses how lookups are answered (indexed at first).
  void SetLookup(Lookup lookup) {
    lookup_ = lookup;
    Reindex();
  }
  Lookup lookup() const { return lookup_; }
  const StoredPairs& pairs() const { return pairs_; }

 protected:
  /// Whether lookups scan the keys instead of asking the indexes.
  bool scans() const { return lookup_ == Lookup::kScan; }
  const Indexes& indexes() const { return indexes_; }

 private:
  void Reindex() {
    indexes_.Clear();
    if (lookup_ == Lookup::kIndexed) {
      ChangeIndexes(lookup_, indexes_, [&] { indexes_.Build(pairs_); });
    }
  }
  StoredPairs pairs_;
  Lookup lookup_ = Lookup::kIndexed;
  Indexes indexes_;
};

}  // namespace holvan
