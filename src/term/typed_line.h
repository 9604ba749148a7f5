#pragma once

#include <string_view>

#include "text/narrow_text.h"

namespace holvan::term {

/// A line the user typed (UTF-8) as the input line holds it: code page 932,
/// with what the code page lacks as "〓". Zero bytes are dropped: an input
/// line cannot hold one, and a data file would end at it.
NarrowText TypedLine(std::string_view utf8);

}  // namespace holvan::term
