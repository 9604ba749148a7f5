#pragma once

#include <cstddef>
#include <cstdint>

#include "files/read_file.h"
#include "text/narrow_text.h"
#include "text/ranges.h"

namespace holvan {

/// The most of a line that TextLines::Get reads.
inline constexpr std::size_t kLineReadBytes = 4096;

/// A list of lines viewed over one CR LF text T. Out-of-range reads give the
/// empty text and out-of-range writes do nothing.
class TextLines {
 public:
  /// Pieces between CR LF breaks, less an empty last piece.
  int32_t Count() const;
  /// Piece i without its break, cut to kLineReadBytes; empty when there is
  /// none.
  NarrowText Get(int32_t i) const;
  /// Replaces piece i (the empty last piece counts), keeping its break.
  void Put(int32_t i, std::string_view s);
  /// Appends s as a line: T + s + CR LF when T is empty or ends with CR LF,
  /// otherwise T + CR LF + s. Returns the bytes appended to T.
  NarrowText Add(std::string_view s);
  /// Removes piece i with the break after it; for the last piece only its
  /// bytes. Returns the byte range removed (length 0 when nothing).
  ByteRange Delete(int32_t i);
  void Clear();

  /// Replaces T by the file's text with every break made CR LF, cut at the
  /// first zero byte. Raises the open error (T unchanged) when unreadable, and
  /// the error too_large names when RAM cannot hold the text.
  void LoadFromFile(const NarrowText& path,
                    TooLarge too_large = TooLarge::kOpenError);
  /// Writes T exactly, atomically.
  void SaveToFile(const NarrowText& path) const;

  /// The selection, a byte range of T (clamped to T on use).
  void SetSelection(ByteRange range) { selection_ = range; }
  ByteRange Selection() const;
  NarrowText SelectedText() const;
  /// Removes the selected bytes; returns the range removed.
  ByteRange DeleteSelection();

  const NarrowText& Text() const { return text_; }
  void SetText(NarrowText text);

 private:
  NarrowText text_;
  ByteRange selection_;
};

/// Makes every break of bytes CR LF (a lone CR or LF becomes CR LF) and cuts
/// at the first zero byte, as TextLines::LoadFromFile does.
NarrowText NormalizeBreaks(std::string_view bytes);

}  // namespace holvan
