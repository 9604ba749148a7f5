#pragma once

#include <cstdint>
#include <string_view>

#include "memory/memory_files.h"
#include "text/narrow_text.h"

namespace holvan::memory {

// Pieces of the Japanese texts about the memory.

/// "「" + text + "」".
NarrowText InCornerBrackets(std::string_view text);

/// "dic.dat の 12 行目".
NarrowText LineName(MemoryFile file, int64_t line);

}  // namespace holvan::memory
