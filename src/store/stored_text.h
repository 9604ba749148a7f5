#pragma once

#include <cstddef>

#include "files/file_bytes.h"
#include "files/read_file.h"
#include "files/text_lines.h"
#include "store/store_bytes.h"
#include "text/line_breaks.h"

namespace holvan {

/// The bytes of a store's file, with the room ForEachStoredLine needs after
/// them; raises as ReadFileBytes does, the open error too for a file of more
/// than kMaxStoreBytes.
inline FileBytes ReadStoreFile(const NarrowText& path) {
  return ReadFileBytes(path, TooLarge::kOpenError, 2, kMaxStoreBytes - 2);
}

/// Makes the bytes of a store's file the text its entries lie in, each line
/// followed by CR LF as the close writes it: cut at the first zero byte, a
/// lone CR or LF made CR LF, the last line given one. Calls
/// on_line(offset, length) for each line, in order, once the bytes are final
/// up to its end.
template <typename OnLine>
void ForEachStoredLine(FileBytes& bytes, OnLine on_line) {
  std::size_t end = UpToZero(bytes).size();
  bytes.Resize(end);
  std::size_t at = 0;
  while (at < end) {
    const char* text = bytes.data();
    const auto stop =
        static_cast<std::size_t>(FindLineBreak(text + at, text + end) - text);
    if (stop == end) {
      bytes.Append("\r\n");
      on_line(at, stop - at);
      return;
    }
    if (text[stop] != '\r' || stop + 1 == end || text[stop + 1] != '\n') {
      // Every line before this one ended in CR LF, so it stays where it is.
      bytes = FileBytes(NormalizeBreaks(bytes), 2);
      end = bytes.size();
      continue;
    }
    on_line(at, stop - at);
    at = stop + 2;
  }
}

}  // namespace holvan
