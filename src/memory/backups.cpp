#include "memory/backups.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "files/read_file.h"
#include "memory/wording.h"
#include "store/data_files.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace holvan::memory {
namespace {

namespace fs = std::filesystem;
using namespace holvan::literals;

/// The start of the hidden folders that backups are made in; the process id
/// of their maker follows.
constexpr std::string_view kPartialMark = ".partial-";

/// The error of a backup folder that cannot be made or changed.
Error BackupError(std::string_view path) {
  return Error("バックアップの場所 "_sj + Utf8ToNarrow(path) +
               " に書き込めません"_sj);
}

/// Makes folder and the folders above it that are missing, private.
void MakeFolders(const NarrowText& folder) {
  for (std::size_t slash = folder.find('/', 1);;
       slash = folder.find('/', slash + 1)) {
    const NarrowText part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      throw BackupError(folder);
    }
    if (slash == NarrowText::npos) break;
  }
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    throw BackupError(folder);
  }
}

/// Writes what the folder holds to the disk.
void SyncFolder(const NarrowText& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool IsFolder(const NarrowText& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

/// The names in folder but "." and ".."; none when it cannot be read.
std::vector<std::string> EntryNames(const NarrowText& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

/// Removes a backup folder and the files in it; failures are passed over.
void RemoveFolder(const NarrowText& path) {
  std::error_code ignored;
  fs::remove_all(fs::path(path), ignored);
}

/// Removes the hidden folders of backups whose maker is gone.
void RemoveStalePartials(const NarrowText& root) {
  for (const std::string& name : EntryNames(root)) {
    if (!name.starts_with(kPartialMark)) continue;
    const pid_t pid = static_cast<pid_t>(ParseIntOr(
        name.substr(kPartialMark.size(),
                    name.find('-', kPartialMark.size()) - kPartialMark.size()),
        0));
    const bool running =
        pid > 0 && pid != ::getpid() && (::kill(pid, 0) == 0 || errno == EPERM);
    if (!running) RemoveFolder(DataFilePath(root, name));
  }
}

/// A new hidden folder in root for a backup in the making.
NarrowText MakePartialFolder(const NarrowText& root) {
  NarrowText path = DataFilePath(root, kPartialMark) +
                    IntText(static_cast<int32_t>(::getpid())) + "-XXXXXX";
  if (::mkdtemp(path.data()) == nullptr) throw BackupError(root);
  return path;
}

/// Puts from in the place of to, whether to exists or not; true when to
/// existed and its old content is now at from.
bool Exchange(const NarrowText& from, const NarrowText& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(),
                  RENAME_EXCHANGE) == 0) {
    return true;
  }
  // No such folder yet, or a file system that cannot exchange: the old one
  // goes first.
  if (errno != ENOENT) RemoveFolder(to);
  if (::rename(from.c_str(), to.c_str()) != 0) throw BackupError(to);
  return false;
}

}  // namespace

bool IsBackupName(std::string_view name) {
  constexpr std::string_view kForm = "0000-00-00";
  if (name.size() < kForm.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const bool digit = name[i] >= '0' && name[i] <= '9';
    const bool dash = name[i] == '-';
    if (i < kForm.size() ? (kForm[i] == '-' ? !dash : !digit)
                         : !(digit || dash)) {
      return false;
    }
  }
  return true;
}

std::vector<Backup> ListBackups(const NarrowText& root) {
  std::vector<Backup> backups;
  for (std::string& name : EntryNames(root)) {
    const NarrowText folder = DataFilePath(root, name);
    if (!IsBackupName(name) || !IsFolder(folder)) continue;
    Backup backup{std::move(name)};
    for (const std::string& file : EntryNames(folder)) {
      struct stat st;
      if (::lstat(DataFilePath(folder, file).c_str(), &st) != 0 ||
          !S_ISREG(st.st_mode)) {
        continue;
      }
      ++backup.files;
      backup.bytes += static_cast<uint64_t>(st.st_size);
    }
    backups.push_back(std::move(backup));
  }
  std::sort(backups.begin(), backups.end(),
            [](const Backup& a, const Backup& b) { return a.name < b.name; });
  return backups;
}

BackupTaken TakeBackup(const NarrowText& folder, const NarrowText& root,
                       std::string_view name, bool keep_existing) {
  MakeFolders(root);
  RemoveStalePartials(root);
  const NarrowText target = DataFilePath(root, name);
  const bool exists = IsFolder(target);
  if (exists && keep_existing) return BackupTaken::kKeptExisting;
  std::vector<MemoryFile> present;
  for (MemoryFile file : kMemoryFiles) {
    if (FileExists(DataFilePath(folder, FileName(file)))) {
      present.push_back(file);
    }
  }
  if (present.empty()) return BackupTaken::kNoFiles;

  const NarrowText partial = MakePartialFolder(root);
  try {
    for (MemoryFile file : present) {
      // Each copy is synced and so is the folder it is put in.
      SaveFileAtomically(DataFilePath(partial, FileName(file)),
                         ReadFileBytes(DataFilePath(folder, FileName(file))));
    }
    if (Exchange(partial, target)) RemoveFolder(partial);
  } catch (...) {
    RemoveFolder(partial);
    throw;
  }
  SyncFolder(root);
  return exists ? BackupTaken::kReplaced : BackupTaken::kNew;
}

std::vector<NarrowText> RemoveOldBackups(const NarrowText& root) {
  std::vector<Backup> backups = ListBackups(root);
  std::vector<NarrowText> removed;
  const auto excess = static_cast<int32_t>(backups.size()) - kBackupsKept;
  for (int32_t i = 0; i < excess; ++i) {
    RemoveFolder(DataFilePath(root, backups[static_cast<std::size_t>(i)].name));
    removed.push_back(backups[static_cast<std::size_t>(i)].name);
  }
  if (!removed.empty()) SyncFolder(root);
  return removed;
}

Restored RestoreBackup(const NarrowText& folder, const NarrowText& root,
                       std::string_view name,
                       std::span<const MemoryFile> files) {
  const NarrowText backup = DataFilePath(root, name);
  if (!IsBackupName(name) || !IsFolder(backup)) {
    throw Error("バックアップ"_sj + Quoted(Utf8ToNarrow(name)) +
                "はありません"_sj);
  }
  std::vector<std::pair<MemoryFile, std::optional<NarrowText>>> contents;
  for (MemoryFile file : files) {
    const NarrowText path = DataFilePath(backup, FileName(file));
    contents.emplace_back(file, FileExists(path)
                                    ? std::optional(ReadFileBytes(path))
                                    : std::nullopt);
  }
  Restored restored;
  for (const auto& [file, bytes] : contents) {
    const NarrowText path = DataFilePath(folder, FileName(file));
    if (bytes) {
      SaveFileAtomically(path, *bytes);
      restored.written.push_back(file);
    } else if (FileExists(path)) {
      if (::unlink(path.c_str()) != 0) throw CreateError(path);
      restored.removed.push_back(file);
    }
  }
  if (!restored.removed.empty()) SyncFolder(folder);
  return restored;
}

}  // namespace holvan::memory
