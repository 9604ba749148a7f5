#pragma once

#include <string_view>

#include "text/narrow_text.h"

namespace holvan::memory_cli {

/// A key or text given on the command line, as code page 932
/// (memory::FromUser); the characters stored as look-alikes are told on
/// standard error.
NarrowText Given(std::string_view utf8);

}  // namespace holvan::memory_cli
