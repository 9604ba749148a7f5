#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "files/file_bytes.h"
#include "text/narrow_text.h"

namespace holvan {

/// An offset in a store's bytes. Four bytes, not eight: every entry holds
/// one, and a store of short lines would spend a good part of its file's size
/// on wider ones.
using StoreOffset = uint32_t;
/// The most bytes one store holds, its file's and those added since.
inline constexpr uint64_t kMaxStoreBytes = UINT32_MAX;

/// The bytes a store's entries lie in, addressed by one offset: the text of
/// its file as loaded (see ForEachStoredLine), then the entries added or
/// rewritten since, each a line of its own after the file's. An entry lies
/// wholly in one of the two parts. Views stay valid until the bytes change.
class StoreBytes {
 public:
  /// The length bytes at offset.
  std::string_view View(StoreOffset offset, std::size_t length) const {
    if (offset < file_.size()) return {file_.data() + offset, length};
    return {added_.data() + (offset - file_.size()), length};
  }
  /// The offset just past the last byte.
  StoreOffset end() const {
    return static_cast<StoreOffset>(file_.size() + added_.size());
  }
  /// The file's text, where its first line begins.
  std::string_view file_text() const { return file_; }
  /// The bytes added since the file was loaded.
  std::string_view added() const { return added_; }

  /// Takes the text of a file (of at most kMaxStoreBytes) as the first
  /// bytes; drops every byte added.
  void Assign(FileBytes file);
  /// Appends the pieces (which may be views of these bytes) and CR LF as one
  /// line, wholly or (raising) not at all; returns the line's offset. Raises
  /// the append error past kMaxStoreBytes.
  StoreOffset AddLine(std::initializer_list<std::string_view> pieces);
  /// Gives up the added bytes, which start afresh with room for room bytes,
  /// so that the lines still in use can be added again without the others.
  NarrowText TakeAdded(std::size_t room);

 private:
  FileBytes file_;
  NarrowText added_;
};

}  // namespace holvan
