#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/file_bytes.h"
#include "memory/memory_files.h"

namespace holvan::memory {

/// Files of a backup, read and checked against its manifest, to be put back.
struct BackupFiles {
  /// Each file asked for that the backup holds, with its bytes.
  std::vector<std::pair<MemoryFile, FileBytes>> files;

  /// The bytes of file; null when the backup lacks it.
  const FileBytes* Find(MemoryFile file) const;
};

/// Reads the files among files that the backup name in root holds. Raises
/// when there is no such backup, when it is damaged (a file missing, or not
/// of the size and checksum its manifest gives) or a file cannot be read.
BackupFiles ReadBackup(const std::string& root, std::string_view name,
                       std::span<const MemoryFile> files);

/// What RestoreBackup did to each file it was asked for.
struct Restored {
  /// Put back from the backup.
  std::vector<MemoryFile> written;
  /// Not in the backup, so removed from the folder.
  std::vector<MemoryFile> removed;
  /// Not in the backup, so left as they were.
  std::vector<MemoryFile> kept;
};

/// Puts the backup's files back into folder, all of them or none: the
/// backup's content of each file and the file's own are first written beside
/// it and synced, then each file is put in place by a rename. Files asked
/// for that the backup lacks are left alone, or with exact removed. When a
/// step fails, the files already replaced or removed get their own content
/// back, and the error says so.
Restored RestoreBackup(const std::string& folder, const BackupFiles& backup,
                       std::span<const MemoryFile> files, bool exact);

}  // namespace holvan::memory
