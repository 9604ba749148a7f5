#pragma once

#include <optional>
#include <string>
#include <vector>

#include "memory/memory_folder.h"
#include "memory_cli/command_line.h"
#include "os/folder_lock.h"
#include "text/narrow_text.h"

namespace holvan::memory_cli {

// The exit statuses.
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;
/// Another program holds the folder: nothing was changed.
inline constexpr int kFolderInUse = 3;
/// check found problems.
inline constexpr int kProblemsFound = 4;

/// Carries out a command that reads or changes the memory (not help,
/// version or a usage error) and returns the exit status. Failures raise
/// holvan::Error; a usage problem found here is told on standard error.
int RunCommand(const Request& request);

/// The lock of folder, held for the rest of the command; nothing when another
/// program holds it, which is then told on standard error. Where the folder
/// cannot be locked, raises why. Removes what saves killed part way left in
/// the folder.
std::optional<FolderLock> HoldFolder(const std::string& folder);

/// What an edit did.
struct Edited {
  /// What to say once the memory is saved.
  std::vector<NarrowText> said = {};
  /// remove phrase: the phrases to remove from the backups too, those
  /// removed from res.dat; or, when res.dat had none (said is then empty),
  /// the one asked for.
  std::vector<NarrowText> phrases = {};
  /// import: a line was not added, which makes the exit status kFailed.
  bool left_out = false;
};

/// Makes the edit the request asks for.
Edited Edit(memory::MemoryFolder& memory, const Request& request);

/// After remove phrase: removes the phrases from the backups in root
/// (nothing when no root is known) and says in how many; raises the missing
/// phrase's error when neither res.dat nor a backup held it.
void RemoveFromBackups(const std::optional<std::string>& root,
                       const Edited& edited);

/// list, check or export, on a memory read as it stands.
int Look(const memory::MemoryFolder& memory, const Request& request);

/// backup, backups or restore, with the backups in root; the memory folder
/// is held for backup and restore.
int BackUp(const std::string& folder, const std::string& root,
           const Request& request);

}  // namespace holvan::memory_cli
