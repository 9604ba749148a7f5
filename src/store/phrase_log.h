#pragma once

#include <cstdint>

#include "files/line_list.h"
#include "store/first_index_table.h"
#include "store/lookup.h"

namespace holvan {

/// The distinct lines the user has typed, oldest first.
class PhraseLog {
 public:
  int32_t Count() const { return entries_.Count(); }
  const NarrowText& Get(int32_t i) const { return entries_.Get(i); }
  /// True when an entry equals line.
  bool Contains(std::string_view line) const;
  void Add(NarrowText line);
  /// Chooses how Contains is answered (indexed at first).
  void SetLookup(Lookup lookup);
  /// Replaces the entries by the file's lines; raises the open error, leaving
  /// the log unchanged, when the file cannot be read.
  void LoadFromFile(const NarrowText& path);
  const LineList& entries() const { return entries_; }

 private:
  /// Rebuilds the index from the entries, or drops it for scans.
  void Reindex();

  LineList entries_;
  Lookup lookup_ = Lookup::kIndexed;
  FirstIndexTable index_;
};

}  // namespace holvan
