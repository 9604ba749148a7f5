#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "memory/memory_files.h"
#include "text/narrow_text.h"

namespace holvan::memory {

// Backups of a memory folder's files, one folder each in a folder of
// backups, named by the day ("2026-12-07") or by the moment
// ("2026-12-07-153012") they were taken, so that names sort oldest first.
// The caller holds the memory folder's lock while it takes or restores one.

/// How many backups RemoveOldBackups keeps.
inline constexpr int32_t kBackupsKept = 14;

/// A backup: its name, and the files and bytes it holds.
struct Backup {
  NarrowText name;
  int32_t files = 0;
  uint64_t bytes = 0;
};

/// What TakeBackup did.
enum class BackupTaken { kNew, kReplaced, kKeptExisting, kNoFiles };

/// Whether name has the form of a backup's: "YYYY-MM-DD" and then only digits
/// and "-".
bool IsBackupName(std::string_view name);

/// The backups in root, oldest first; none when root does not exist.
std::vector<Backup> ListBackups(const NarrowText& root);

/// Copies the memory files of folder that exist into root/name (root is made
/// if needed, private to the user): into a hidden folder beside, synced, then
/// renamed into place, so that root never shows a half backup. A backup of
/// that name is replaced, or kept when keep_existing. Removes first what
/// backups killed part way left in root. Raises the error of a file that
/// cannot be read or written; root then holds what it held.
BackupTaken TakeBackup(const NarrowText& folder, const NarrowText& root,
                       std::string_view name, bool keep_existing);

/// Removes the oldest backups beyond kBackupsKept; returns their names.
std::vector<NarrowText> RemoveOldBackups(const NarrowText& root);

/// What RestoreBackup did to each file it was asked for.
struct Restored {
  /// Put back from the backup.
  std::vector<MemoryFile> written;
  /// Not in the backup, so removed from the folder.
  std::vector<MemoryFile> removed;
};

/// Puts files back into folder as the backup root/name holds them: each one
/// it holds atomically, each one it lacks removed. Every file is read from
/// the backup before anything is changed. Raises when there is no such
/// backup or a file cannot be read or written.
Restored RestoreBackup(const NarrowText& folder, const NarrowText& root,
                       std::string_view name,
                       std::span<const MemoryFile> files);

}  // namespace holvan::memory
