#include "store/scans.h"

#include "text/cp932.h"
#include "text/primitives.h"

namespace holvan {
namespace {

// The first i below count whose text_at(i) equals text, or -1.
template <typename TextAt>
int32_t FirstEqual(int32_t count, TextAt text_at, std::string_view text) {
  for (int32_t i = 0; i < count; ++i) {
    if (text_at(i) == text) return i;
  }
  return -1;
}

}  // namespace

int32_t ScanForEqual(const StoredPairs& pairs, std::string_view key) {
  return FirstEqual(
      pairs.Count(), [&](int32_t i) { return pairs.Key(i); }, key);
}

int32_t ScanForEqual(const StoredLines& lines, std::string_view line) {
  return FirstEqual(
      lines.Count(), [&](int32_t i) { return lines.Get(i); }, line);
}

int32_t ScanForStartingWith(const StoredPairs& pairs, std::string_view prefix) {
  for (int32_t i = 0; i < pairs.Count(); ++i) {
    if (BytePos(prefix, pairs.Key(i)) == 1) return i;
  }
  return -1;
}

void ScanForKeysIn(const StoredPairs& pairs, std::u16string_view line,
                   const std::function<bool(int32_t)>& visit) {
  for (int32_t i = 0; i < pairs.Count(); ++i) {
    if (WidePos(ToWide(pairs.Key(i)), line) > 0 && visit(i)) return;
  }
}

}  // namespace holvan
