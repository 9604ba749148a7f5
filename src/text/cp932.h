#pragma once

#include "text/narrow_text.h"

namespace holvan {

/// Code page 932 to UTF-16: one unit per character; a byte that does not start
/// a valid character becomes U+DC80 + byte.
WideText ToWide(std::string_view text);

/// UTF-16 to code page 932: each unit to its preferred encoding; U+DC80 + byte
/// gives the byte back; a character the code page lacks (a surrogate pair
/// counting as one) becomes "〓" (81 AC).
NarrowText ToNarrow(std::u16string_view wide);

/// UTF-8 to code page 932 for text arriving from outside (typed, pasted,
/// UTF-8 files); bytes that are not UTF-8 count as characters the code page
/// lacks.
NarrowText Utf8ToNarrow(std::string_view utf8);

/// Code page 932 to UTF-8 for display; bytes that are not valid code page 932
/// become U+FFFD.
std::string NarrowToUtf8(std::string_view text);

}  // namespace holvan
