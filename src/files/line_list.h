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
  void Clear() { entries_.clear(); }
  /// Replaces every entry by entries, taking them over whole; raises the
  /// append error past the largest count.
  void Assign(std::vector<NarrowText> entries);

  /// Replaces every entry by the file's lines (breaks: CR LF, lone CR, lone
  /// LF; stops at the first zero byte). Raises the open error, leaving the list
  /// unchanged, when the file cannot be read.
  void LoadFromFile(const NarrowText& path);
  /// Writes every entry followed by CR LF, atomically (see SaveFileAtomically).
  void SaveToFile(const NarrowText& path) const;

  const std::vector<NarrowText>& entries() const { return entries_; }

 private:
  std::vector<NarrowText> entries_;
};

/// Splits file bytes into lines as LineList::LoadFromFile does.
std::vector<NarrowText> SplitFileLines(std::string_view bytes);

}  // namespace holvan
