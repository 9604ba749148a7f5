#include "memory/backups.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <tuple>

#include "files/read_file.h"
#include "memory/backup_folders.h"
#include "memory/private_files.h"
#include "text/literal.h"

namespace holvan::memory {
namespace {

using namespace holvan::literals;

/// Why the files in folder do not match manifest; empty when they do.
NarrowText Damage(const std::string& folder,
                  const std::optional<Manifest>& manifest) {
  if (!manifest) return "記録 holvan-backup が読めません"_sj;
  for (const BackedUpFile& entry : manifest->files) {
    const NarrowText name(FileName(entry.file));
    struct stat st;
    if (::lstat((folder + "/" + name).c_str(), &st) != 0 ||
        !S_ISREG(st.st_mode)) {
      return name + " がありません"_sj;
    }
    if (static_cast<uint64_t>(st.st_size) != entry.size) {
      return name + " の大きさが記録と違います"_sj;
    }
  }
  return {};
}

/// The backup that the entry name of root is: a folder, not hidden (hidden
/// ones are on their way in or out), marked with a manifest.
std::optional<Backup> BackupIn(const std::string& root,
                               const std::string& name) {
  const std::string folder = root + "/" + name;
  if (name.starts_with('.') || !IsPlainFolder(folder)) return std::nullopt;
  const std::optional<std::string> text = ManifestTextIn(folder);
  if (!text || !IsManifestText(*text)) return std::nullopt;
  Backup backup{name, ParseManifest(*text), {}};
  backup.damage = Damage(folder, backup.manifest);
  return backup;
}

/// The name a backup called name takes in root: name, or name with "-2",
/// "-3"... the first that is free or Holvan's backup.
std::string NameFor(const std::string& root, std::string_view name) {
  std::string candidate(name);
  for (int64_t n = 2;; ++n) {
    struct stat st;
    if (::lstat((root + "/" + candidate).c_str(), &st) != 0) {
      if (errno == ENOENT) return candidate;
      throw BackupError(root);
    }
    if (BackupIn(root, candidate)) return candidate;
    candidate = std::string(name) + "-" + std::to_string(n);
  }
}

}  // namespace

std::vector<Backup> ListBackups(const std::string& root) {
  std::vector<Backup> backups;
  for (const std::string& name : EntryNames(root)) {
    if (std::optional<Backup> backup = BackupIn(root, name)) {
      backups.push_back(std::move(*backup));
    }
  }
  std::sort(
      backups.begin(), backups.end(), [](const Backup& a, const Backup& b) {
        return std::tuple(a.taken(), a.name) < std::tuple(b.taken(), b.name);
      });
  return backups;
}

TakenBackup TakeBackup(const std::string& folder, const std::string& root,
                       std::string_view name, bool keep_existing,
                       int64_t taken) {
  if (!MakePrivateFolders(root) || ::chmod(root.c_str(), 0700) != 0) {
    throw BackupError(root);
  }
  RemoveStalePartials(root);
  TakenBackup result{BackupTaken::kNew, NameFor(root, name)};
  const bool exists = BackupIn(root, result.name).has_value();
  if (exists && keep_existing) {
    result.what = BackupTaken::kKeptExisting;
    return result;
  }
  std::vector<MemoryFile> present;
  for (MemoryFile file : kMemoryFiles) {
    if (FileExists(folder + "/" + std::string(FileName(file)))) {
      present.push_back(file);
    }
  }
  if (present.empty()) {
    result.what = BackupTaken::kNoFiles;
    return result;
  }

  MakeBackup(root, result.name,
             [&](int partial_fd, const std::string& partial) {
               Manifest manifest;
               manifest.taken = taken;
               for (MemoryFile file : present) {
                 const std::string name(FileName(file));
                 const FileBytes bytes = ReadFileBytes(folder + "/" + name);
                 WriteNewFile(partial_fd, name, bytes, partial + "/" + name);
                 Record(manifest, file, bytes);
               }
               return ManifestText(manifest);
             });
  if (exists) result.what = BackupTaken::kReplaced;
  return result;
}

std::vector<std::string> RemoveOldBackups(const std::string& root,
                                          std::string_view kept) {
  std::vector<std::string> removed;
  const std::vector<Backup> backups = ListBackups(root);
  auto excess = static_cast<int64_t>(backups.size()) - kBackupsKept;
  for (const Backup& backup : backups) {
    if (excess <= 0) break;
    if (backup.name == kept ||
        !HoldsOnlyBackupFiles(root + "/" + backup.name)) {
      continue;
    }
    RemoveBackup(root, backup.name);
    removed.push_back(backup.name);
    --excess;
  }
  return removed;
}

}  // namespace holvan::memory
