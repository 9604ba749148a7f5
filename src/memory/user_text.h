#pragma once

#include <string_view>

#include "text/narrow_text.h"

namespace holvan::memory {

/// A text the user typed or gave (UTF-8) as code page 932; raises when it
/// holds a character the code page lacks, rather than store another one.
NarrowText FromUser(std::string_view utf8);

}  // namespace holvan::memory
