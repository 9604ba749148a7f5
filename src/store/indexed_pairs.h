#pragma once

#include <cstdint>
#include <string_view>

#include "files/file_bytes.h"
#include "store/index_keeper.h"
#include "store/lookup.h"
#include "store/stored_pairs.h"

namespace holvan {

/// Keys and values paired by position, with the indexes Indexes keeps over
/// the keys (Clear, Build with a StopFlag, Insert), or none while lookups
/// scan the keys.
/// Pairs are appended and values rewritten in place; nothing is reordered or
/// removed, so the indexes only ever grow. Brain and Dictionary are such
/// pairs. Keys and values are views that stay valid until the pairs change.
template <typename Indexes>
class IndexedPairs {
 public:
  /// separator joins key and value in the lines the pairs are kept as.
  explicit IndexedPairs(std::string_view separator) : pairs_(separator) {}
  /// Moves wait for other's build beside, if any, before its pairs move.
  IndexedPairs(IndexedPairs&& other)
      : pairs_(SettledPairs(other)), indexes_(std::move(other.indexes_)) {}
  IndexedPairs& operator=(IndexedPairs&& other) {
    indexes_ = std::move(other.indexes_);
    pairs_ = std::move(other.pairs_);
    return *this;
  }

  int32_t Count() const { return pairs_.Count(); }
  /// Key i; an index outside 0 to Count() - 1 raises the list-index error.
  std::string_view Key(int32_t i) const { return pairs_.Key(i); }
  /// Value i; an index outside raises the list-index error.
  std::string_view Value(int32_t i) const { return pairs_.Value(i); }
  void Add(std::string_view key, std::string_view value) {
    indexes_.Settle();
    const int32_t i = pairs_.Add(key, value);
    indexes_.Insert([&](Indexes& indexes) { indexes.Insert(pairs_, i); });
  }
  /// Replaces every pair by those split makes of the lines of a file's bytes
  /// (see StoredPairs::Load); they are indexed when first looked up, or
  /// beside after IndexBeside.
  void Load(FileBytes file, StoredPairs::Split split) {
    indexes_.Drop();
    pairs_.Load(std::move(file), split);
  }
  /// Starts indexing the pairs on a thread beside, so that the first lookup
  /// finds the indexes built, or nearly.
  void IndexBeside() { indexes_.BuildBeside(Build()); }
  void SetValue(int32_t i, std::string_view value) {
    indexes_.Settle();
    pairs_.SetValue(i, value);
  }
  /// Chooses how lookups are answered (indexed at first).
  void SetLookup(Lookup lookup) { indexes_.SetLookup(lookup); }
  Lookup lookup() const { return indexes_.lookup(); }
  const StoredPairs& pairs() const { return pairs_; }

 protected:
  /// The indexes, built first where they are not; null while lookups scan
  /// the keys.
  const Indexes* indexes() const { return indexes_.Use(Build()); }

 private:
  static StoredPairs&& SettledPairs(IndexedPairs& other) {
    other.indexes_.Settle();
    return std::move(other.pairs_);
  }
  auto Build() const {
    return [this](Indexes& indexes, const StopFlag& stop) {
      indexes.Build(pairs_, stop);
    };
  }

  StoredPairs pairs_;
  /// Last, so that a build beside stops before the pairs go.
  IndexKeeper<Indexes> indexes_;
};

}  // namespace holvan
