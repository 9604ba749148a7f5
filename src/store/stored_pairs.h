#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "files/file_bytes.h"
#include "store/line_forms.h"
#include "store/store_bytes.h"

namespace holvan {

/// Keys and values paired by position, each pair a line "key, separator,
/// value" in its store's bytes: the file's lines where they were read, and
/// a line of its own for each pair added or value rewritten since.
class StoredPairs {
 public:
  /// How a line of the file becomes a pair, or nothing.
  using Split = std::optional<KeyAndValue> (*)(std::string_view line);

  /// separator joins key and value in the lines the pairs are written as.
  explicit StoredPairs(std::string_view separator) : separator_(separator) {}

  int32_t Count() const { return static_cast<int32_t>(pairs_.size()); }
  /// Key i; an index outside 0 to Count() - 1 raises the list-index error.
  std::string_view Key(int32_t i) const {
    const Pair& pair = At(i);
    return bytes_.View(pair.offset, pair.key_length);
  }
  /// Value i; an index outside raises the list-index error.
  std::string_view Value(int32_t i) const {
    const Pair& pair = At(i);
    return bytes_.View(pair.offset + pair.key_length + pair.separator,
                       pair.value_length);
  }
  /// Appends a pair; returns its index. Raises the append error past the
  /// largest count, for a key of 1 GiB or more, or past kMaxStoreBytes.
  int32_t Add(std::string_view key, std::string_view value);
  /// Value i becomes value; an index outside raises the list-index error.
  void SetValue(int32_t i, std::string_view value);
  /// Replaces the pairs by those split makes of the lines of a file's bytes
  /// (see ReadStoreFile); raises the append error,
  /// leaving the pairs as they were, when they do not fit.
  void Load(FileBytes file, Split split);

  /// Writes every pair as key, separator, value and CR LF.
  void Write(AtomicFileWriter& writer) const;

 private:
  struct Pair {
    /// Where the key begins.
    StoreOffset offset;
    uint32_t key_length : 30;
    /// The bytes between key and value.
    uint32_t separator : 2;
    uint32_t value_length;
  };

  /// A pair of the line at offset; raises the append error where the key or
  /// the line does not fit.
  static Pair PairAt(uint64_t offset, std::size_t key, std::size_t separator,
                     std::size_t value);
  const Pair& At(int32_t i) const {
    if (i < 0 || i >= Count()) [[unlikely]] {
      throw ListIndexError(i);
    }
    return pairs_[static_cast<std::size_t>(i)];
  }
  /// The bytes of a pair's line, without its CR LF.
  static uint64_t LineLength(const Pair& pair) {
    return uint64_t{pair.key_length} + pair.separator + pair.value_length;
  }
  /// Whether a pair's line is as Write writes it.
  bool WrittenAsItLies(const Pair& pair) const;
  /// A pair of a line added for key and value.
  Pair LineOf(std::string_view key, std::string_view value);
  /// Drops the added lines no pair uses any longer, once they outweigh those
  /// in use and the pass over the pairs.
  void DropUnusedLines();

  std::string_view separator_;
  StoreBytes bytes_;
  std::vector<Pair> pairs_;
  /// The bytes of added lines that no pair uses.
  uint64_t unused_ = 0;
};

}  // namespace holvan
