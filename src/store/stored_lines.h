#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "files/file_bytes.h"
#include "store/store_bytes.h"

namespace holvan {

/// Lines kept in their store's bytes: the file's lines where they were read,
/// then the lines added since, one after another.
class StoredLines {
 public:
  int32_t Count() const { return static_cast<int32_t>(starts_.size() - 1); }
  /// Line i; an index outside 0 to Count() - 1 raises the list-index error.
  std::string_view Get(int32_t i) const {
    if (i < 0 || i >= Count()) [[unlikely]] {
      throw ListIndexError(i);
    }
    const StoreOffset begin = starts_[static_cast<std::size_t>(i)];
    const StoreOffset end = starts_[static_cast<std::size_t>(i) + 1] - 2;
    return bytes_.View(begin, end - begin);
  }
  /// Appends line; returns its index. Raises the append error past the
  /// largest count or kMaxStoreBytes.
  int32_t Add(std::string_view line);
  /// Replaces the lines by those of a file's bytes (see ReadStoreFile);
  /// raises the append error, leaving the lines as they were, past the
  /// largest count or kMaxStoreBytes.
  void Load(FileBytes file);

  /// Writes every line followed by CR LF.
  void Write(AtomicFileWriter& writer) const;

 private:
  StoreBytes bytes_;
  /// Where each line begins, and last the end of the bytes: a line ends two
  /// bytes (its CR LF) before the next begins.
  std::vector<StoreOffset> starts_ = {0};
};

}  // namespace holvan
