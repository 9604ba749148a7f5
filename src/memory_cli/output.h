#pragma once

#include <string_view>

namespace holvan::memory_cli {

/// Prints a code page 932 text and a line break on standard output, in UTF-8
/// with control characters shown as U+FFFD.
void Say(std::string_view narrow);

/// Prints "holvan-memory: ", a code page 932 text and a line break on
/// standard error, as Say does.
void Complain(std::string_view narrow);

}  // namespace holvan::memory_cli
