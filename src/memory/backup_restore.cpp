#include "memory/backup_restore.h"

#include <unistd.h>

#include <algorithm>
#include <memory>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "files/read_file.h"
#include "memory/backup_manifest.h"
#include "memory/backups.h"
#include "memory/private_files.h"
#include "memory/wording.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::memory {
namespace {

using namespace holvan::literals;

Error Damaged(std::string_view name, const NarrowText& damage) {
  return Error("バックアップ"_sj + InCornerBrackets(Utf8ToNarrow(name)) +
               "は壊れているので戻しません（"_sj + damage + "）"_sj);
}

/// One file's part in a restore.
struct Step {
  MemoryFile file;
  /// The backup's content, ready beside the file; null when the file goes.
  std::unique_ptr<AtomicFileWriter> put;
  /// The file's own content, ready beside it to be put back; null when
  /// there was no file.
  std::unique_ptr<AtomicFileWriter> own;
};

/// A writer of path holding bytes, written and synced beside it.
std::unique_ptr<AtomicFileWriter> Prepared(const std::string& path,
                                           std::string_view bytes) {
  auto writer = std::make_unique<AtomicFileWriter>(path);
  writer->Append(bytes);
  writer->Prepare();
  return writer;
}

/// Puts the step's file in place: the backup's content, or none.
void Apply(const Step& step) {
  if (step.put) {
    step.put->Commit();
  } else if (::unlink(step.own->target().c_str()) != 0) {
    throw CreateError(step.own->target());
  }
}

/// Takes back what Apply did; false when that failed.
bool Undo(const Step& step) {
  if (!step.own) return ::unlink(step.put->target().c_str()) == 0;
  // A rename beside the file, which needs no room: it fails only where
  // nothing more can be done, and the files that follow are still tried.
  try {
    step.own->Commit();
    return true;
  } catch (const Error&) {
    return false;
  }
}

/// "dic.dat、brain.dat"
NarrowText Names(const std::vector<MemoryFile>& files) {
  NarrowText names;
  for (MemoryFile file : files) {
    if (!names.empty()) names += "、"_sj;
    names += FileName(file);
  }
  return names;
}

/// Takes back the first count steps, last first; what to add to the error.
NarrowText TakeBack(const std::vector<Step>& steps, std::size_t count) {
  std::vector<MemoryFile> undone;
  std::vector<MemoryFile> failed;
  for (std::size_t i = count; i-- > 0;) {
    (Undo(steps[i]) ? undone : failed).push_back(steps[i].file);
  }
  NarrowText said;
  if (!undone.empty()) said += "。"_sj + Names(undone) + " は元に戻しました"_sj;
  if (!failed.empty()) {
    return said + "。"_sj + Names(failed) +
           " は元に戻せませんでした（バックアップの内容のままです）"_sj;
  }
  return said + "。記憶は戻す前のままです"_sj;
}

}  // namespace

const FileBytes* BackupFiles::Find(MemoryFile file) const {
  for (const auto& [backed_up, bytes] : files) {
    if (backed_up == file) return &bytes;
  }
  return nullptr;
}

BackupFiles ReadBackup(const std::string& root, std::string_view name,
                       std::span<const MemoryFile> files) {
  const std::vector<Backup> backups = ListBackups(root);
  const auto backup =
      std::find_if(backups.begin(), backups.end(),
                   [&](const Backup& listed) { return listed.name == name; });
  if (backup == backups.end()) {
    throw Error("バックアップ"_sj + InCornerBrackets(Utf8ToNarrow(name)) +
                "はありません"_sj);
  }
  if (!backup->whole()) throw Damaged(name, backup->damage);
  BackupFiles read;
  for (MemoryFile file : files) {
    const BackedUpFile* entry = backup->manifest->Find(file);
    if (entry == nullptr) continue;
    FileBytes bytes = ReadFileBytes(root + "/" + backup->name + "/" +
                                    std::string(FileName(file)));
    if (bytes.size() != entry->size || Sha256(bytes) != entry->sha256) {
      throw Damaged(name,
                    NarrowText(FileName(file)) + " の中身が記録と違います"_sj);
    }
    read.files.emplace_back(file, std::move(bytes));
  }
  return read;
}

Restored RestoreBackup(const std::string& folder, const BackupFiles& backup,
                       std::span<const MemoryFile> files, bool exact) {
  Restored restored;
  std::vector<Step> steps;
  std::size_t applied = 0;
  try {
    for (MemoryFile file : files) {
      const std::string path = folder + "/" + std::string(FileName(file));
      const FileBytes* bytes = backup.Find(file);
      const bool exists = FileExists(path);
      if (bytes == nullptr && !(exact && exists)) {
        if (exists) restored.kept.push_back(file);
        continue;
      }
      Step& step = steps.emplace_back(Step{file, nullptr, nullptr});
      if (bytes != nullptr) step.put = Prepared(path, *bytes);
      if (exists) step.own = Prepared(path, ReadFileBytes(path));
      (bytes != nullptr ? restored.written : restored.removed).push_back(file);
    }
    for (; applied < steps.size(); ++applied) Apply(steps[applied]);
  } catch (const Error& error) {
    throw Error(error.message() + TakeBack(steps, applied));
  }
  if (!restored.removed.empty()) SyncFolder(folder);
  return restored;
}

}  // namespace holvan::memory
