#pragma once

#include <QString>
#include <cstddef>
#include <string_view>

#include "text/narrow_text.h"
#include "text/ranges.h"

namespace holvan {

// The window shows a code page 932 text as its UTF-16 form with each line
// break (CR LF, a lone CR or a lone LF) as one '\n' and each byte that is not
// code page 932 as U+FFFD. Every other UTF-16 unit is one shown unit, so a
// shown position maps back to a wide position by counting CR LF twice.

/// The text as the window shows it.
QString ShownText(std::string_view bytes);

/// The number of line breaks in bytes, a CR LF counting once.
std::size_t BreakCount(std::string_view bytes);

/// The shown positions [begin, end) of bytes as UTF-16 units of
/// ToWide(bytes); positions past the end give the wide length.
WideRange WideRangeOfShown(std::string_view bytes, std::size_t begin,
                           std::size_t end);

/// A typed text in code page 932; characters the code page lacks become "〓".
NarrowText TypedText(const QString& text);

}  // namespace holvan
