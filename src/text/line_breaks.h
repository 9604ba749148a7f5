#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

namespace holvan {

/// The bytes up to the first zero byte: file text ends there.
inline std::string_view UpToZero(std::string_view bytes) {
  const void* zero = std::memchr(bytes.data(), 0, bytes.size());
  return zero == nullptr
             ? bytes
             : bytes.substr(
                   0, static_cast<std::size_t>(static_cast<const char*>(zero) -
                                               bytes.data()));
}

/// The number of LF bytes: the number of lines of most files, counted to make
/// room for them ahead.
inline std::size_t CountLineFeeds(std::string_view bytes) {
  std::size_t count = 0;
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (const void* at =
             std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
    ++count;
    p = static_cast<const char*>(at) + 1;
  }
  return count;
}

/// Calls on_line(line, broken) for each line of bytes, where a line ends at
/// CR LF, a lone CR or an LF; broken is false only for a last line without a
/// break. A break at the very end gives no empty last line. Scans with memchr
/// so that long files load fast.
template <typename OnLine>
void ForEachLine(std::string_view bytes, OnLine on_line) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  auto find = [end](const char* from, char c) {
    const void* at = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return at == nullptr ? end : static_cast<const char*>(at);
  };
  const char* cr = find(p, '\r');
  const char* lf = find(p, '\n');
  while (p < end) {
    if (cr < p) cr = find(p, '\r');
    if (lf < p) lf = find(p, '\n');
    const char* stop = std::min(cr, lf);
    on_line(std::string_view(p, static_cast<std::size_t>(stop - p)),
            stop != end);
    if (stop == end) break;
    p = stop + (*stop == '\r' && stop + 1 < end && stop[1] == '\n' ? 2 : 1);
  }
}

}  // namespace holvan
