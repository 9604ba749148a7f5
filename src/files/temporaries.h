#pragma once

#include <sys/types.h>

#include <span>
#include <string>
#include <string_view>

#include "text/narrow_text.h"

namespace holvan {

/// A temporary file beside target with the given mode (less the umask),
/// created exclusively and never through a link, and named as a save names
/// its temporaries; returns its descriptor and its name in name, or -1.
int CreateTemporary(const std::string& target, mode_t mode, std::string& name);

/// A temporary in folder that has no name (O_TMPFILE), with the given mode
/// (less the umask): a process killed while it is written leaves nothing
/// behind. Returns its descriptor, or -1 where the file system or the system
/// allows none.
int CreateUnnamedTemporary(const std::string& folder, mode_t mode);

/// Names the unnamed temporary open as fd beside target as CreateTemporary
/// names them, never over an entry that exists (a link included); false
/// (errno set) when it cannot.
bool NameTemporary(int fd, const std::string& target, std::string& name);

/// Removes from folder the temporaries that saves of the files named in
/// targets left behind when their process was killed: regular files (never
/// a link or a folder) named exactly as a save names its temporary, by a
/// process that is gone. Nothing else is touched; failures are passed over.
void RemoveStaleTemporaries(const NarrowText& folder,
                            std::span<const std::string_view> targets);

/// Whether digits name a process that has ended: a number in shortest
/// decimal form from 1 to 2147483647 whose process is gone, or this process,
/// which has left nothing behind yet.
bool NamesEndedProcess(std::string_view digits);

}  // namespace holvan
