#pragma once

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/narrow_text.h"
#include "text/primitives.h"

namespace holvan::testing {

/// All bytes of a starter file in the source tree's data folder.
inline std::string ReadStarterFile(std::string_view name) {
  std::ifstream in(std::string(HOLVAN_STARTER_DATA) + "/" + std::string(name),
                   std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The lines of a CR LF text, without their breaks. 0D and 0A are never the
/// second byte of a code page 932 character, so splitting bytes is safe.
inline std::vector<NarrowText> CrLfLines(std::string_view bytes) {
  std::vector<NarrowText> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

/// The line cut around the first occurrence of a one-character separator,
/// found character-wise; nullopt when it has none.
inline std::optional<std::pair<NarrowText, NarrowText>> SplitAt(
    const NarrowText& line, const NarrowText& separator) {
  const int32_t p = WidePos(separator, line);
  if (p == 0) return std::nullopt;
  return std::pair{WideCopy(line, 1, p - 1),
                   WideCopy(line, p + 1, WideLength(line) - p)};
}

}  // namespace holvan::testing
