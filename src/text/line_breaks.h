#pragma once

#include <cstddef>
#include <string_view>

namespace holvan {

/// The bytes up to the first zero byte: file text ends there.
std::string_view UpToZero(std::string_view bytes);

/// The number of LF bytes: the number of lines of most files, counted to make
/// room for them ahead.
std::size_t CountLineFeeds(std::string_view bytes);

/// The first CR or LF in [from, end), or end.
const char* FindLineBreak(const char* from, const char* end);

/// Calls on_line(line, broken) for each line of bytes, where a line ends at
/// CR LF, a lone CR or an LF; broken is false only for a last line without a
/// break. A break at the very end gives no empty last line.
template <typename OnLine>
void ForEachLine(std::string_view bytes, OnLine on_line) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (p < end) {
    const char* stop = FindLineBreak(p, end);
    on_line(std::string_view(p, static_cast<std::size_t>(stop - p)),
            stop != end);
    if (stop == end) break;
    p = stop + (*stop == '\r' && stop + 1 < end && stop[1] == '\n' ? 2 : 1);
  }
}

}  // namespace holvan
