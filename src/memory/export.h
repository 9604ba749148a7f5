#pragma once

#include <string>
#include <vector>

#include "memory/memory_folder.h"

namespace holvan::memory {

/// The name of a file's UTF-8 copy: "dic.txt" for "dic.dat", and so on, so
/// that Holvan never takes it for one of its own.
std::string ExportName(MemoryFile file);

/// Writes a UTF-8 copy of each memory file that exists into folder (the
/// system's bytes): the lines Holvan reads, each ending in LF; bytes that are
/// not code page 932 become U+FFFD. The folder is made with the folders
/// above it, private, or must be an empty folder, never a link; each copy is
/// a new file, 0600, never written through a link. Returns the names
/// written; raises when the folder is not empty or cannot be made, and the
/// first failing write's error (the copies before it stay).
std::vector<std::string> ExportUtf8(const MemoryFolder& memory,
                                    const std::string& folder);

}  // namespace holvan::memory
