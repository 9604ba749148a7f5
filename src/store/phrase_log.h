#pragma once

#include <cstdint>
#include <string_view>

#include "store/first_index_table.h"
#include "store/index_keeper.h"
#include "store/lookup.h"
#include "store/stored_lines.h"
#include "text/narrow_text.h"

namespace holvan {

/// The distinct lines the user has typed, oldest first, kept as the lines of
/// "res.dat". Lines are views that stay valid until the log changes.
class PhraseLog {
 public:
  PhraseLog() = default;
  /// Moves wait for other's build beside, if any, before its lines move.
  PhraseLog(PhraseLog&& other) { *this = std::move(other); }
  PhraseLog& operator=(PhraseLog&& other) {
    index_ = std::move(other.index_);
    lines_ = std::move(other.lines_);
    return *this;
  }

  int32_t Count() const { return lines_.Count(); }
  /// Line i; an index outside 0 to Count() - 1 raises the list-index error.
  std::string_view Get(int32_t i) const { return lines_.Get(i); }
  /// True when an entry equals line.
  bool Contains(std::string_view line) const;
  void Add(std::string_view line);
  /// Chooses how Contains is answered (indexed at first).
  void SetLookup(Lookup lookup) { index_.SetLookup(lookup); }
  Lookup lookup() const { return index_.lookup(); }
  /// Replaces the entries by the file's lines, indexed when first asked
  /// about, or beside after IndexBeside; raises the open error, leaving the
  /// log unchanged, when the file cannot be read.
  void LoadFromFile(const NarrowText& path);
  /// Starts indexing the entries on a thread beside, so that the first
  /// Contains finds the index built, or nearly.
  void IndexBeside();
  const StoredLines& lines() const { return lines_; }

 private:
  /// Indexes every entry.
  auto Build() const;

  StoredLines lines_;
  /// Last, so that a build beside stops before the lines go.
  IndexKeeper<FirstIndexTable> index_;
};

}  // namespace holvan
