#include "memory/backup_folders.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "files/temporaries.h"
#include "memory/backup_manifest.h"
#include "memory/memory_files.h"
#include "memory/private_files.h"
#include "os/descriptors.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::memory {
namespace {

using namespace holvan::literals;

constexpr std::string_view kPartialMark = ".partial-";
/// What mkdtemp puts after the process id and "-".
constexpr std::size_t kPartialSuffix = 6;
constexpr off_t kMostManifestBytes = 1 << 16;

bool IsBackupFileName(std::string_view name) {
  return name == kManifestName ||
         std::any_of(kMemoryFiles.begin(), kMemoryFiles.end(),
                     [&](MemoryFile file) { return FileName(file) == name; });
}

/// Puts partial, whole and synced, into root as name: in the place of the
/// backup of that name, which is then deleted, or as a new one; syncs root.
void PutInPlace(const std::string& root, const std::string& partial,
                const std::string& name) {
  const std::string target = root + "/" + name;
  if (::renameat2(AT_FDCWD, partial.c_str(), AT_FDCWD, target.c_str(),
                  RENAME_EXCHANGE) == 0) {
    SyncFolder(root);
    // The backup it replaced now has the hidden name.
    DeleteBackupFolder(partial);
    return;
  }
  // No backup of that name yet; or a file system that cannot exchange, where
  // the old one leaves first.
  struct stat st;
  if (errno != ENOENT && ::lstat(target.c_str(), &st) == 0) {
    RemoveBackup(root, name);
  }
  if (::rename(partial.c_str(), target.c_str()) != 0) {
    throw BackupError(target);
  }
  SyncFolder(root);
}

}  // namespace

Error BackupError(std::string_view path) {
  return Error("バックアップの場所 "_sj + Utf8ToNarrow(path) +
               " に書き込めません"_sj);
}

std::vector<std::string> EntryNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end;
       !error && entry != end; entry.increment(error)) {
    names.push_back(entry->path().filename());
  }
  return names;
}

bool IsPlainFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() ==
         std::filesystem::file_type::directory;
}

std::optional<std::string> ManifestTextIn(const std::string& folder) {
  const std::string path = folder + "/" + std::string(kManifestName);
  // Never blocked by a FIFO of that name.
  const Fd fd(OpenRetrying(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
  struct stat st;
  if (!fd.ok() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      st.st_size > kMostManifestBytes) {
    return std::nullopt;
  }
  std::string text(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = ::read(fd.get(), text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    got += static_cast<std::size_t>(n);
  }
  return text;
}

std::string MakePartialFolder(const std::string& root) {
  std::string path = root + "/" + std::string(kPartialMark) +
                     std::to_string(::getpid()) + "-XXXXXX";
  if (::mkdtemp(path.data()) == nullptr || ::chmod(path.c_str(), 0700) != 0) {
    throw BackupError(root);
  }
  return path;
}

bool HoldsOnlyBackupFiles(const std::string& folder) {
  const std::vector<std::string> names = EntryNames(folder);
  return std::all_of(names.begin(), names.end(), [&](const std::string& name) {
    std::error_code error;
    return IsBackupFileName(name) &&
           std::filesystem::symlink_status(folder + "/" + name, error).type() ==
               std::filesystem::file_type::regular;
  });
}

void DeleteBackupFolder(const std::string& folder) {
  if (!HoldsOnlyBackupFiles(folder)) return;
  for (const std::string& name : EntryNames(folder)) {
    ::unlink((folder + "/" + name).c_str());
  }
  ::rmdir(folder.c_str());
}

void RemoveBackup(const std::string& root, const std::string& name) {
  const std::string away = MakePartialFolder(root);
  // Renamed over the empty hidden folder, it is no longer listed.
  if (::rename((root + "/" + name).c_str(), away.c_str()) != 0) {
    ::rmdir(away.c_str());
    throw BackupError(root);
  }
  SyncFolder(root);
  DeleteBackupFolder(away);
}

void MakeBackup(
    const std::string& root, const std::string& name,
    const std::function<std::optional<std::string>(int, const std::string&)>&
        fill) {
  const std::string partial = MakePartialFolder(root);
  try {
    const Fd partial_fd(
        OpenRetrying(partial.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
    if (!partial_fd.ok()) throw BackupError(root);
    if (const std::optional<std::string> manifest =
            fill(partial_fd.get(), partial)) {
      // Written last: a folder is marked only once it holds every file.
      const std::string manifest_name(kManifestName);
      WriteNewFile(partial_fd.get(), manifest_name, *manifest,
                   partial + "/" + manifest_name);
    }
    ::fsync(partial_fd.get());
    PutInPlace(root, partial, name);
  } catch (...) {
    DeleteBackupFolder(partial);
    throw;
  }
}

void RemoveStalePartials(const std::string& root) {
  for (const std::string& name : EntryNames(root)) {
    if (!name.starts_with(kPartialMark)) continue;
    const std::string_view rest =
        std::string_view(name).substr(kPartialMark.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos ||
        rest.size() - dash - 1 != kPartialSuffix ||
        !NamesEndedProcess(rest.substr(0, dash))) {
      continue;
    }
    const std::string folder = root + "/" + name;
    if (IsPlainFolder(folder)) DeleteBackupFolder(folder);
  }
}

}  // namespace holvan::memory
