#pragma once

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <bit>
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

/// The first CR or LF in [from, end), or end. Looks at sixteen bytes at a
/// time where the processor can.
inline const char* FindLineBreak(const char* from, const char* const end) {
#ifdef __SSE2__
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; end - from >= 16; from += 16) {
    const __m128i chunk =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const int found = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)));
    if (found != 0)
      return from + std::countr_zero(static_cast<unsigned>(found));
  }
#endif
  while (from < end && *from != '\r' && *from != '\n') ++from;
  return from;
}

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
