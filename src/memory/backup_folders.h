#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/error.h"

namespace holvan::memory {

// How backups come and go in their folder: each one is made or changed in a
// hidden folder of its own and put in place whole, and leaves by being
// renamed away before it is deleted, so that wherever a process is killed a
// backup is listed whole or not at all. Only what Holvan made is deleted.

/// "バックアップの場所 PATH に書き込めません"
Error BackupError(std::string_view path);

/// The names in folder but "." and ".."; none when it cannot be read.
std::vector<std::string> EntryNames(const std::string& folder);

/// Whether path is a folder itself, not a link to one.
bool IsPlainFolder(const std::string& path);

/// The text of the manifest in folder: a regular file, never a link, of at
/// most a few kilobytes; nothing when there is none.
std::optional<std::string> ManifestTextIn(const std::string& folder);

/// A new hidden folder in root, 0700, for a backup in the making or on its
/// way out: ".partial-", this process's id, "-" and six characters.
std::string MakePartialFolder(const std::string& root);

/// Deletes folder when it holds nothing but regular files named as a
/// backup's files are (the memory files and the manifest), and them with it;
/// leaves it as it is otherwise. Failures are passed over.
void DeleteBackupFolder(const std::string& folder);

/// Whether folder holds nothing but regular files named as a backup's are.
bool HoldsOnlyBackupFiles(const std::string& folder);

/// Makes the backup name in root in a new hidden folder: fill puts the
/// files in it (given the folder open and its path) and returns the text of
/// its manifest, which is written last (or nothing when fill put it there).
/// The folder is then synced and put in place, in the place of the backup of
/// that name, which is then deleted, or as a new one; root is synced. The
/// hidden folder goes when anything fails.
void MakeBackup(
    const std::string& root, const std::string& name,
    const std::function<std::optional<std::string>(int, const std::string&)>&
        fill);

/// Takes the backup name out of root: renamed to a hidden folder, so that it
/// is no longer listed, then deleted. Raises BackupError when it cannot be
/// renamed.
void RemoveBackup(const std::string& root, const std::string& name);

/// Removes the hidden folders that processes killed part way left in root:
/// named as MakePartialFolder names them, by a process that has ended, and
/// holding nothing but a backup's files.
void RemoveStalePartials(const std::string& root);

}  // namespace holvan::memory
