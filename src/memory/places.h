#pragma once

#include <optional>
#include <string>

#include "text/narrow_text.h"

namespace holvan::memory {

// Paths here are the system's bytes, as the command line gives them.

/// The memory folder that holvan-start uses: $XDG_DATA_HOME/holvan, or
/// ~/.local/share/holvan when XDG_DATA_HOME is unset, empty or relative;
/// nothing without HOME either.
std::optional<std::string> DefaultMemoryFolder();

/// Where backups go: $XDG_STATE_HOME/holvan/backups, or
/// ~/.local/state/holvan/backups, as DefaultMemoryFolder decides.
std::optional<std::string> DefaultBackupsFolder();

/// The backups of the memory folder: given when given, else the user's own
/// for the user's memory folder (also when it was named), and none for
/// another folder, lest its backups push the user's own out.
std::optional<std::string> BackupsFolderFor(
    const std::string& folder, const std::optional<std::string>& given);

/// The folder a program works on: dir when given, else DefaultMemoryFolder.
/// Raises when there is none or it is no folder.
std::string MemoryFolderToUse(const std::optional<std::string>& dir);

/// Whether the two paths name one existing folder.
bool SameFolder(const std::string& a, const std::string& b);

/// Whether path names a folder (through links).
bool IsFolder(const std::string& path);

}  // namespace holvan::memory
