#pragma once

#include <string>
#include <vector>

#include "memory/memory_folder.h"
#include "text/narrow_text.h"

namespace holvan::memory {

/// The name of a file's UTF-8 copy: "dic.txt" for "dic.dat", and so on, so
/// that Holvan never takes it for one of its own.
std::string ExportName(MemoryFile file);

/// Writes a UTF-8 copy of each memory file that exists into folder, each
/// atomically: the lines Holvan reads, each ending in LF; bytes that are not
/// code page 932 become U+FFFD. Returns the names written; raises the first
/// failing write's error.
std::vector<std::string> ExportUtf8(const MemoryFolder& memory,
                                    const NarrowText& folder);

}  // namespace holvan::memory
