#pragma once

#include <string>
#include <string_view>

namespace holvan::memory {

// Folders and files that hold the memory outside its folder (backups,
// exported copies): only the user can reach them, whatever the umask, and
// nothing is ever written through a link someone planted.

/// Makes folder and the folders above it that are missing, each 0700, and
/// syncs the folder each one was made in; false when one cannot be made or
/// folder is no folder. Folders that exist keep their mode.
bool MakePrivateFolders(const std::string& folder);

/// Creates name in the folder open as folder_fd: new (never over an entry
/// that exists, never through a link), 0600, holding bytes, synced. Raises
/// the create error (path names the file), or the write error when a write
/// fails; the file is then removed.
void WriteNewFile(int folder_fd, const std::string& name,
                  std::string_view bytes, const std::string& path);

/// Writes the entries of folder to the disk; failures are passed over.
void SyncFolder(const std::string& folder);

}  // namespace holvan::memory
