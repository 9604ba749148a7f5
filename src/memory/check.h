#pragma once

#include <cstdint>
#include <vector>

#include "memory/memory_files.h"
#include "memory/memory_folder.h"
#include "text/narrow_text.h"

namespace holvan::memory {

/// Something in a memory file that Holvan reads otherwise than its user may
/// think.
struct Problem {
  MemoryFile file;
  /// Counted from 1.
  int32_t line = 0;
  /// In Japanese, code page 932.
  NarrowText message;
};

/// The problems of the memory's files as they stand, file by file (in the
/// order of kMemoryFiles) and line by line: bytes that are not code page
/// 932; lines without the form their file needs; dictionary keys that never
/// answer, because an earlier line has the same key or because no question
/// can ask for them; Brain lines whose key would change on the next load;
/// keys and phrases held twice; a zero byte, after which nothing is read.
std::vector<Problem> CheckMemory(const MemoryFolder& memory);

/// "dic.dat 12 行目: " + the message.
NarrowText ProblemText(const Problem& problem);

}  // namespace holvan::memory
