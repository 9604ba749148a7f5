#pragma once

#include "text/narrow_text.h"

namespace holvan {

/// True when path names an existing regular file (through symbolic links).
bool FileExists(const NarrowText& path);

/// What reading raises for a file that memory cannot hold.
enum class TooLarge { kOpenError, kCapacityError };

/// All bytes of the file; raises the open error with path when it cannot be
/// opened or read, and the error too_large names when memory cannot hold it
/// (nothing is allocated for a file larger than memory and swap).
NarrowText ReadFileBytes(const NarrowText& path,
                         TooLarge too_large = TooLarge::kOpenError);

}  // namespace holvan
