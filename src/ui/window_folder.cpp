#include "ui/window_folder.h"

#include "system/lock_messages.h"
#include "system/working_folder.h"
#include "ui/message_boxes.h"

namespace holvan {

std::optional<system::FolderLock> ClaimWindowFolder(const NarrowText& folder) {
  system::FolderLock lock = system::ClaimWorkingFolder(folder);
  if (lock.busy()) {
    ShowFolderBusyBox(nullptr, lock.holder());
    return std::nullopt;
  }
  if (!lock.held()) {
    ShowUnlockedStartBox(nullptr, system::UnlockedStartMessage(folder, lock));
  }
  return lock;
}

}  // namespace holvan
