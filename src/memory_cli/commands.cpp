#include "memory_cli/commands.h"

#include "errors/error.h"
#include "memory/places.h"
#include "memory_cli/output.h"
#include "os/lock_messages.h"
#include "os/user_language.h"
#include "store/working_folder.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::memory_cli {
namespace {

using namespace holvan::literals;

/// Edits the memory of folder and saves it; a removed phrase then goes from
/// the backups too. An import that left a line out fails once it is saved.
int EditFolder(const std::string& folder, const Request& request) {
  const std::optional<FolderLock> lock = HoldFolder(folder);
  if (!lock) return kFolderInUse;
  memory::MemoryFolder memory = memory::MemoryFolder::OpenForEditing(
      folder, memory::Reading::kWhenNeeded);
  const Edited edited = Edit(memory, request);
  memory.Save();
  for (const NarrowText& line : edited.said) Say(line);
  if (!edited.phrases.empty()) {
    RemoveFromBackups(memory::BackupsFolderFor(folder, request.backups),
                      edited);
  }
  return edited.left_out ? kFailed : kDone;
}

}  // namespace

std::optional<FolderLock> HoldFolder(const std::string& folder) {
  FolderLock lock = ClaimWorkingFolder(folder);
  if (lock.busy()) {
    Complain(memory::FolderInUseReason(lock.holder()));
    return std::nullopt;
  }
  if (!lock.held()) throw Error(UnlockedEditMessage(folder, lock));
  return lock;
}

int RunCommand(const Request& request) {
  const std::string folder = memory::MemoryFolderToUse(request.dir);
  switch (request.command) {
    case Command::kList:
    case Command::kCheck:
    case Command::kExport:
      // A list reads only its file.
      return Look(
          memory::MemoryFolder::OpenReadOnly(
              folder, memory::FolderInUseReason(),
              request.command == Command::kList ? memory::Reading::kWhenNeeded
                                                : memory::Reading::kAllAtOnce),
          request);
    case Command::kBackup:
    case Command::kBackups:
    case Command::kRestore: {
      const std::optional<std::string> root =
          memory::BackupsFolderFor(folder, request.backups);
      if (!root && request.dir) {
        Complain(Utf8ToNarrow(InUserLanguage(
            "--dir で別のフォルダを使うときは、--backups でバックアップの場所も"
            "指定してください",
            "with --dir naming another folder, --backups must say where its "
            "backups go")));
        return kUsage;
      }
      if (!root) {
        throw Error(
            "XDG_STATE_HOME も HOME もないので、バックアップの場所がわかりません"_sj);
      }
      return BackUp(folder, *root, request);
    }
    default:
      return EditFolder(folder, request);
  }
}

}  // namespace holvan::memory_cli
