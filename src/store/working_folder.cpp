#include "store/working_folder.h"

#include "store/data_files.h"

namespace holvan {

FolderLock ClaimWorkingFolder(const NarrowText& folder) {
  FolderLock lock = FolderLock::TryLock(folder);
  if (lock.held()) RemoveStaleDataTemporaries(folder);
  return lock;
}

}  // namespace holvan
