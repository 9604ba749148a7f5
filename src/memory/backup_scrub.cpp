#include "memory/backup_scrub.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

#include "files/read_file.h"
#include "memory/backup_folders.h"
#include "memory/backup_manifest.h"
#include "memory/backups.h"
#include "memory/file_lines.h"
#include "memory/private_files.h"

namespace holvan::memory {
namespace {

const std::string kPhrasesName(FileName(MemoryFile::kPhrases));

/// The bytes of the res.dat in folder without the lines equal to one of
/// phrases; nothing when it has none of them (or no res.dat).
std::optional<NarrowText> WithoutPhrases(const std::string& folder,
                                         std::span<const NarrowText> phrases) {
  const std::string path = folder + "/" + kPhrasesName;
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    return std::nullopt;
  }
  FileLines lines{NarrowText(ReadFileBytes(path))};
  bool found = false;
  for (int32_t i = lines.Count(); i-- > 0;) {
    if (std::find(phrases.begin(), phrases.end(), lines.Text(i)) !=
        phrases.end()) {
      lines.Replace(i, 1, {});
      found = true;
    }
  }
  if (!found) return std::nullopt;
  return lines.Bytes();
}

/// Puts a backup's file into the folder open as to_fd as it is: a second
/// link to it, or a copy where the file system has no links.
void Carry(const std::string& from, int to_fd, const std::string& name,
           const std::string& to) {
  if (::linkat(AT_FDCWD, from.c_str(), to_fd, name.c_str(), 0) != 0) {
    WriteNewFile(to_fd, name, ReadFileBytes(from), to);
  }
}

/// Replaces the backup in root by a copy with phrases as res.dat.
void Rewrite(const std::string& root, const Backup& backup,
             const NarrowText& phrases) {
  const std::string folder = root + "/" + backup.name;
  MakeBackup(root, backup.name,
             [&](int partial_fd,
                 const std::string& partial) -> std::optional<std::string> {
               for (const std::string& name : EntryNames(folder)) {
                 // A manifest that cannot be read stays as it is.
                 if (name != kPhrasesName &&
                     (name != kManifestName || !backup.manifest)) {
                   Carry(folder + "/" + name, partial_fd, name,
                         partial + "/" + name);
                 }
               }
               WriteNewFile(partial_fd, kPhrasesName, phrases,
                            partial + "/" + kPhrasesName);
               if (!backup.manifest) return std::nullopt;
               Manifest manifest = *backup.manifest;
               Record(manifest, MemoryFile::kPhrases, phrases);
               return ManifestText(manifest);
             });
}

}  // namespace

PhrasesRemoved RemovePhrasesFromBackups(const std::string& root,
                                        std::span<const NarrowText> phrases) {
  RemoveStalePartials(root);
  PhrasesRemoved removed;
  const std::vector<Backup> backups = ListBackups(root);
  for (const std::string& name : EntryNames(root)) {
    const std::string folder = root + "/" + name;
    if (name.starts_with('.') || !IsPlainFolder(folder)) continue;
    const std::optional<NarrowText> rest = WithoutPhrases(folder, phrases);
    if (!rest) continue;
    const auto backup =
        std::find_if(backups.begin(), backups.end(),
                     [&](const Backup& listed) { return listed.name == name; });
    if (backup != backups.end() && HoldsOnlyBackupFiles(folder)) {
      Rewrite(root, *backup, *rest);
      ++removed.backups;
    } else {
      removed.left.push_back(name);
    }
  }
  std::sort(removed.left.begin(), removed.left.end());
  return removed;
}

}  // namespace holvan::memory
