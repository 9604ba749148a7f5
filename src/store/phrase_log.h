#pragma once

#include <cstdint>
#include <string_view>

#include "store/first_index_table.h"
#include "store/lookup.h"
#include "store/stored_lines.h"
#include "text/narrow_text.h"

namespace holvan {

/// The distinct lines the user has typed, oldest first, kept as the lines of
/// "res.dat". Lines are views that stay valid until the log changes.
class PhraseLog {
 public:
  int32_t Count() const { return lines_.Count(); }
  /// Line i; an index outside 0 to Count() - 1 raises the list-index error.
  std::string_view Get(int32_t i) const { return lines_.Get(i); }
  /// True when an entry equals line.
  bool Contains(std::string_view line) const;
  void Add(std::string_view line);
  /// Chooses how Contains is answered (indexed at first).
  void SetLookup(Lookup lookup);
  Lookup lookup() const { return lookup_; }
  /// Replaces the entries by the file's lines; raises the open error, leaving
  /// the log unchanged, when the file cannot be read.
  void LoadFromFile(const NarrowText& path);
  const StoredLines& lines() const { return lines_; }

 private:
  /// Rebuilds the index from the entries, or drops it for scans.
  void Reindex();

  StoredLines lines_;
  Lookup lookup_ = Lookup::kIndexed;
  FirstIndexTable index_;
};

}  // namespace holvan
