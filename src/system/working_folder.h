#pragma once

#include "system/folder_lock.h"

namespace holvan::system {

/// The exit status of a start that another Holvan's lock refused.
inline constexpr int kFolderBusyStatus = 3;

/// Takes the lock of the working folder before anything is read from it;
/// once it is held, removes what saves killed in earlier runs left there.
/// The caller keeps the lock for the run; when it is busy, the caller reads
/// and writes nothing. Where the folder takes no lock, the run goes on
/// without one, as it would on a file system without locks.
FolderLock ClaimWorkingFolder(const NarrowText& folder);

}  // namespace holvan::system
