#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "text/narrow_text.h"

namespace holvan {

// Character-wise work on code page 932 texts. Positions are 1-based; a search
// result of 0 means no occurrence. Nothing here fails on any argument.

/// Number of characters (UTF-16 units) of the text.
int32_t WideLength(std::string_view text);

/// True when the text has no bytes.
inline bool IsEmpty(std::string_view text) { return text.empty(); }

/// count characters from character start, clamped: start < 1 begins at the
/// first character without reducing count; count < 0 gives the empty text.
/// The slice keeps the bytes it covers as they are (a character with another
/// preferred encoding, a byte that starts none), so that cutting and joining
/// never changes what was not cut.
NarrowText WideCopy(std::string_view text, int32_t start, int32_t count);
/// The same slice taken from an already converted line, converted back: each
/// character in its preferred encoding.
NarrowText WideCopy(std::u16string_view wide, int32_t start, int32_t count);

/// The text without count characters from start; unchanged when the text is
/// empty, start < 1, start beyond the end or count <= 0. The bytes kept are
/// those of the text.
NarrowText WideDelete(std::string_view text, int32_t start, int32_t count);

/// Same bytes, same length; no folding of any kind.
inline bool TextEquals(std::string_view a, std::string_view b) {
  return a == b;
}

/// The same characters, as the wide forms compare: equal once each character
/// is in its preferred encoding, so that a character with two encodings (∵ as
/// 81 E6 or 87 9A) matches itself.
bool SameCharacters(std::string_view a, std::string_view b);

/// TextEquals(WideCopy(line, start, WideLength(keyword)), keyword), the slice
/// compared in preferred encodings as the wide form gives it.
bool SliceEquals(std::string_view line, int32_t start,
                 std::string_view keyword);
bool SliceEquals(std::u16string_view line, int32_t start,
                 std::string_view keyword);

/// The first WideLength(keyword) characters of line equal keyword.
bool StartsWith(std::string_view line, std::string_view keyword);
bool StartsWith(std::u16string_view line, std::string_view keyword);

/// True when line starts with any of the keywords.
bool StartsWithAny(std::string_view line,
                   std::initializer_list<std::string_view> keywords);
bool StartsWithAny(std::u16string_view line,
                   std::initializer_list<std::string_view> keywords);

/// The last WideLength(keyword) characters of line equal keyword.
bool EndsWith(std::string_view line, std::string_view keyword);
bool EndsWith(std::u16string_view line, std::string_view keyword);

/// 1-based byte position of the first occurrence of pattern in text, ignoring
/// character boundaries; 0 when none or when either is empty.
int32_t BytePos(std::string_view pattern, std::string_view text);

/// BytePos(pattern, text) > 0.
inline bool Contains(std::string_view text, std::string_view pattern) {
  return BytePos(pattern, text) > 0;
}

/// 1-based character position of the first occurrence of pattern in text; 0
/// when none or when either is empty.
int32_t WidePos(std::string_view pattern, std::string_view text);
int32_t WidePos(std::u16string_view pattern, std::u16string_view text);

}  // namespace holvan
