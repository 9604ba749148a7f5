#include "text/primitives.h"

#include <algorithm>

#include "text/cp932.h"

namespace holvan {
namespace {

// The clamped slice [begin, begin + length) of a text of size units, as the
// copy rules give it; length 0 for an empty result.
struct Span {
  size_t begin = 0;
  size_t length = 0;
};

Span CopySpan(size_t size, int32_t start, int32_t count) {
  if (count <= 0) return {};
  size_t begin = start < 1 ? 0 : static_cast<size_t>(start) - 1;
  if (begin >= size) return {};
  return {begin, std::min(static_cast<size_t>(count), size - begin)};
}

// Search for pattern in text, 1-based; 0 when none or either is empty.
template <typename Char>
int32_t FindFirst(std::basic_string_view<Char> pattern,
                  std::basic_string_view<Char> text) {
  if (pattern.empty() || text.empty() || pattern.size() > text.size()) {
    return 0;
  }
  size_t at = text.find(pattern);
  return at == std::basic_string_view<Char>::npos
             ? 0
             : static_cast<int32_t>(at + 1);
}

}  // namespace

int32_t WideLength(std::string_view text) {
  return static_cast<int32_t>(UnitCount(text));
}

NarrowText WideCopy(std::string_view text, int32_t start, int32_t count) {
  if (count <= 0) return {};
  const size_t begin =
      SkipCharacters(text, 0, start < 1 ? 0 : static_cast<size_t>(start) - 1);
  const size_t end = SkipCharacters(text, begin, static_cast<size_t>(count));
  return NarrowText(text.substr(begin, end - begin));
}

NarrowText WideCopy(std::u16string_view wide, int32_t start, int32_t count) {
  Span span = CopySpan(wide.size(), start, count);
  return ToNarrow(wide.substr(span.begin, span.length));
}

NarrowText WideDelete(std::string_view text, int32_t start, int32_t count) {
  if (start < 1 || count <= 0) return NarrowText(text);
  const size_t begin = SkipCharacters(text, 0, static_cast<size_t>(start) - 1);
  // Also an empty text: start lies beyond its end.
  if (begin == text.size()) return NarrowText(text);
  const size_t end = SkipCharacters(text, begin, static_cast<size_t>(count));
  NarrowText rest;
  rest.reserve(text.size() - (end - begin));
  rest.append(text.substr(0, begin)).append(text.substr(end));
  return rest;
}

bool SameCharacters(std::string_view a, std::string_view b) {
  return a == b || Recoded(a) == Recoded(b);
}

bool SliceEquals(std::string_view line, int32_t start,
                 std::string_view keyword) {
  // Compared as converted back, like a slice of the wide form.
  return Recoded(WideCopy(line, start, WideLength(keyword))) == keyword;
}

bool SliceEquals(std::u16string_view line, int32_t start,
                 std::string_view keyword) {
  const Span span = CopySpan(line.size(), start, WideLength(keyword));
  return NarrowsTo(line.substr(span.begin, span.length), keyword);
}

bool StartsWith(std::string_view line, std::string_view keyword) {
  return SliceEquals(line, 1, keyword);
}

bool StartsWith(std::u16string_view line, std::string_view keyword) {
  return SliceEquals(line, 1, keyword);
}

bool EndsWith(std::string_view line, std::string_view keyword) {
  return EndsWith(ToWide(line), keyword);
}

bool EndsWith(std::u16string_view line, std::string_view keyword) {
  // Computed in 64 bits: a start below 1 (line shorter than keyword) is
  // clamped by the copy rules, never wrapped.
  int64_t start = static_cast<int64_t>(line.size()) - WideLength(keyword) + 1;
  return SliceEquals(line, static_cast<int32_t>(std::max<int64_t>(start, 0)),
                     keyword);
}

int32_t BytePos(std::string_view pattern, std::string_view text) {
  return FindFirst(pattern, text);
}

int32_t WidePos(std::string_view pattern, std::string_view text) {
  if (pattern.empty() || text.empty()) return 0;
  return WidePos(ToWide(pattern), ToWide(text));
}

int32_t WidePos(std::u16string_view pattern, std::u16string_view text) {
  return FindFirst(pattern, text);
}

bool StartsWithAny(std::string_view line,
                   std::initializer_list<std::string_view> keywords) {
  for (std::string_view keyword : keywords) {
    if (StartsWith(line, keyword)) return true;
  }
  return false;
}

bool StartsWithAny(std::u16string_view line,
                   std::initializer_list<std::string_view> keywords) {
  for (std::string_view keyword : keywords) {
    if (StartsWith(line, keyword)) return true;
  }
  return false;
}

}  // namespace holvan
