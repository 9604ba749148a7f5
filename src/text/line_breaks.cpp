#include "text/line_breaks.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <bit>
#include <cstring>

namespace holvan {

std::string_view UpToZero(std::string_view bytes) {
  // An empty view may hold no pointer at all, which memchr must not see.
  if (bytes.empty()) return bytes;
  const void* zero = std::memchr(bytes.data(), 0, bytes.size());
  return zero == nullptr
             ? bytes
             : bytes.substr(
                   0, static_cast<std::size_t>(static_cast<const char*>(zero) -
                                               bytes.data()));
}

// Looks at sixteen bytes at a time where the processor can, counting in
// sixteen byte-wide counters that are summed before they can overflow.
std::size_t CountLineFeeds(std::string_view bytes) {
  std::size_t count = 0;
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
#ifdef __SSE2__
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    __m128i counters = _mm_setzero_si128();
    for (int round = 0; round < 255 && end - p >= 16; ++round, p += 16) {
      const __m128i chunk =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      // A matching byte compares as -1.
      counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(chunk, lf));
    }
    const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
             static_cast<std::size_t>(
                 _mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
  }
#endif
  for (; p < end; ++p) count += *p == '\n' ? 1 : 0;
  return count;
}

// Looks at sixteen bytes at a time where the processor can.
const char* FindLineBreak(const char* from, const char* const end) {
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

}  // namespace holvan
