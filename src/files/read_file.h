#pragma once

#include <cstddef>
#include <cstdint>

#include "files/file_bytes.h"
#include "text/narrow_text.h"

namespace holvan {

/// True when path names an existing regular file (through symbolic links).
bool FileExists(const NarrowText& path);

/// What reading raises for a file that RAM cannot hold.
enum class TooLarge { kOpenError, kCapacityError };

/// All bytes of the file, with room for room more after them; raises the open
/// error with path when it cannot be opened or read, and the error too_large
/// names when RAM cannot hold it or it has more than most bytes (nothing
/// is allocated for a file larger than RAM and swap).
FileBytes ReadFileBytes(const NarrowText& path,
                        TooLarge too_large = TooLarge::kOpenError,
                        std::size_t room = 0, uint64_t most = UINT64_MAX);

}  // namespace holvan
