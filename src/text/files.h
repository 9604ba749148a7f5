#pragma once

#include "text/narrow_text.h"

namespace holvan {

/// True when path names an existing regular file (through symbolic links).
bool FileExists(const NarrowText& path);

/// Creates the file, or cuts it to zero bytes; raises the I/O error on failure.
void CreateEmptyFile(const NarrowText& path);

/// All bytes of the file; raises the open error with path when it cannot be
/// opened or read.
NarrowText ReadFileBytes(const NarrowText& path);

/// Replaces the file's content by bytes without ever leaving a partial file:
/// a temporary beside the target (exclusive, never following a planted link),
/// every write checked, fsync, rename over the target, fsync of the folder.
/// Keeps the target's permission bits and writes through a symbolic link to
/// the file it names. Raises the create error when the target or temporary
/// cannot be created, the write error when a write or flush fails; the old
/// file then stays intact and the temporary is removed.
void SaveFileAtomically(const NarrowText& path, std::string_view bytes);

}  // namespace holvan
