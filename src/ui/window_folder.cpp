#include "ui/window_folder.h"

#include "os/lock_messages.h"
#include "store/working_folder.h"
#include "ui/message_boxes.h"

namespace holvan {

std::optional<FolderLock> ClaimWindowFolder(const NarrowText& folder) {
  FolderLock lock = ClaimWorkingFolder(folder);
  if (lock.busy()) {
    ShowFolderBusyBox(nullptr, lock.holder());
    return std::nullopt;
  }
  if (!lock.held()) {
    ShowUnlockedStartBox(nullptr, UnlockedStartMessage(folder, lock));
  }
  return lock;
}

}  // namespace holvan
