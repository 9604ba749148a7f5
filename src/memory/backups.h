#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memory/backup_manifest.h"
#include "text/narrow_text.h"

namespace holvan::memory {

// Backups of a memory folder's files, one folder each in a folder of backups
// (the root), named by the day ("2026-12-07") or the moment
// ("2026-12-07-153012") they were taken. A backup is a folder that Holvan
// made and marked with a manifest (kManifestName) naming its files, their
// sizes and checksums, and when it was taken: only those are listed, rotated,
// restored or changed; any other folder in the root is left alone. Backups
// and the root are private: folders 0700, files 0600. Paths and names are
// the system's bytes. The caller holds the memory folder's lock while it
// takes or restores one.

/// How many backups RemoveOldBackups keeps.
inline constexpr int64_t kBackupsKept = 14;

/// A backup as listed.
struct Backup {
  std::string name;
  /// What its manifest says; nothing when the manifest cannot be read.
  std::optional<Manifest> manifest;
  /// Why its files do not match its manifest (code page 932); empty when
  /// they do.
  NarrowText damage;

  bool whole() const { return damage.empty(); }
  /// When it was taken; 0 when the manifest cannot be read.
  int64_t taken() const { return manifest ? manifest->taken : 0; }
};

/// The backups in root, oldest first (by when they were taken, by name when
/// alike), their files' sizes checked against their manifests; none when
/// root does not exist.
std::vector<Backup> ListBackups(const std::string& root);

/// What TakeBackup did.
enum class BackupTaken { kNew, kReplaced, kKeptExisting, kNoFiles };

/// What TakeBackup did, and the backup's name.
struct TakenBackup {
  BackupTaken what = BackupTaken::kNoFiles;
  std::string name;
};

/// Copies the memory files of folder that exist into the backup name in root
/// (root is made if needed; it and the backup are made private), marked as
/// taken at the moment taken (seconds since the epoch). When a folder of
/// that name is not Holvan's backup, the name takes "-2", "-3"... first. A
/// backup of that name is replaced, or kept when keep_existing. Made in a
/// hidden folder, synced, then put in place whole. Removes first what
/// backups killed part way left in root. Raises the error of a file that
/// cannot be read or written; root then holds what it held.
TakenBackup TakeBackup(const std::string& folder, const std::string& root,
                       std::string_view name, bool keep_existing,
                       int64_t taken);

/// Removes the backups taken first beyond kBackupsKept (by their manifests,
/// never by their names), but never the backup kept, nor one that holds
/// anything but a backup's files; returns their names.
std::vector<std::string> RemoveOldBackups(const std::string& root,
                                          std::string_view kept);

}  // namespace holvan::memory
