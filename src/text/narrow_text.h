#pragma once

#include <string>
#include <string_view>

namespace holvan {

/// A text as code page 932 (Shift-JIS) bytes: every stored, shown or compared
/// text of the program.
using NarrowText = std::string;

/// The UTF-16 form of a text, one unit per character, for character-wise work.
/// Bytes that are not valid code page 932 become U+DC00 + byte (U+DC80 to
/// U+DCFF).
using WideText = std::u16string;

}  // namespace holvan
