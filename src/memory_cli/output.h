#pragma once

#include <string_view>
#include <vector>

namespace holvan::memory_cli {

/// Prints a code page 932 text and a line break on standard output, in UTF-8
/// with control characters shown as U+FFFD.
void Say(std::string_view narrow);

/// Prints code page 932 columns joined by TABs and a line break on standard
/// output, as Say does, with a TAB within a column shown as U+FFFD too, so
/// that the columns hold.
void SayColumns(const std::vector<std::string_view>& columns);

/// Prints "holvan-memory: ", a code page 932 text and a line break on
/// standard error, as Say does.
void Complain(std::string_view narrow);

/// Prints "holvan-memory: ", a notice of the program's own in UTF-8 and a
/// line break on standard error.
void Notify(std::string_view utf8);

}  // namespace holvan::memory_cli
