#pragma once

#include <optional>

#include "os/folder_lock.h"
#include "text/narrow_text.h"

namespace holvan {

/// Takes the lock of the window's working folder before anything is read
/// from it (ClaimWorkingFolder). When another program holds it, shows
/// the box that says who, and gives nothing: the program then ends with
/// kFolderBusyStatus. Where no lock can be had, shows the box that
/// says so and gives the lock as it is, for the window to run without one.
std::optional<FolderLock> ClaimWindowFolder(const NarrowText& folder);

}  // namespace holvan
