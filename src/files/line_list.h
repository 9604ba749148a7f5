#pragma once

#include <cstdint>
#include <vector>

#include "text/narrow_text.h"

namespace holvan {

/// A plain ordered list of entries, indexed from 0, read from and written to a
/// CR LF text file.
class LineList {
 public:
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  /// Entry i; an index outside 0 to Count() - 1 raises the list-index error.
  const NarrowText& Get(int32_t i) const;
  /// Entry i becomes s; an index outside raises the list-index error.
  void Put(int32_t i, NarrowText s);
  /// Appends s; returns its index.
  int32_t Add(NarrowText s);
  /// Replaces every entry by entries, taking them over whole; raises the
  /// append error past the largest count.
  void Assign(std::vector<NarrowText> entries);
  /// Writes every entry followed by CR LF, atomically (see SaveFileAtomically).
  void SaveToFile(const NarrowText& path) const;

  const std::vector<NarrowText>& entries() const { return entries_; }

 private:
  std::vector<NarrowText> entries_;
};

/// The lines of file bytes: breaks are CR LF, a lone CR or a lone LF, and the
/// text ends at the first zero byte.
std::vector<NarrowText> SplitFileLines(std::string_view bytes);

}  // namespace holvan
