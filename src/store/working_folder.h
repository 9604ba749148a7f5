#pragma once

#include "os/folder_lock.h"

namespace holvan {

/// The exit status of a start that another program's lock refused.
inline constexpr int kFolderBusyStatus = 3;

/// Takes the lock of the working folder before anything is read from it;
/// once it is held, removes what saves killed in earlier runs left there.
/// The caller keeps the lock for the run; when it is busy, the caller reads
/// and writes nothing. Where no lock can be had, Holvan says so and runs
/// without one, and the memory's editors refuse to edit.
FolderLock ClaimWorkingFolder(const NarrowText& folder);

}  // namespace holvan
