#include <algorithm>
#include <ctime>

#include "errors/error.h"
#include "memory/backup_restore.h"
#include "memory/backups.h"
#include "memory/places.h"
#include "memory_cli/commands.h"
#include "memory_cli/output.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::memory_cli {
namespace {

using memory::MemoryFile;
using namespace holvan::literals;

/// The wall clock, in seconds since the epoch.
int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

/// "2026-12-07", or "2026-12-07-153012" with the time: when, in local time.
std::string MomentName(int64_t when, bool with_time) {
  const std::time_t time = static_cast<std::time_t>(when);
  std::tm local{};
  ::localtime_r(&time, &local);
  char name[32];
  std::strftime(name, sizeof name, with_time ? "%Y-%m-%d-%H%M%S" : "%Y-%m-%d",
                &local);
  return name;
}

/// A count as its digits.
NarrowText Number(uint64_t n) { return std::to_string(n); }

/// "NAME<TAB>TAKEN<TAB>事柄 N<TAB>言葉 N<TAB>発言 N<TAB>日記 N バイト", or the
/// damage.
NarrowText BackupLine(const memory::Backup& backup) {
  NarrowText line =
      Utf8ToNarrow(backup.name) + "\t"_sj +
      (backup.manifest ? NarrowText(memory::LocalTimeText(backup.taken()))
                       : "日時不明"_sj);
  if (!backup.whole()) return line + "\t壊れています: "_sj + backup.damage;
  const memory::Manifest& manifest = *backup.manifest;
  const memory::BackedUpFile* diary = manifest.Find(MemoryFile::kDiary);
  return line + "\t事柄 "_sj + Number(manifest.facts) + "\t言葉 "_sj +
         Number(manifest.words) + "\t発言 "_sj + Number(manifest.phrases) +
         (diary ? "\t日記 "_sj + Number(diary->size) + " バイト"_sj
                : "\t日記なし"_sj);
}

int TakeDaily(const std::string& folder, const std::string& root, bool daily) {
  const int64_t now = Now();
  const memory::TakenBackup taken =
      memory::TakeBackup(folder, root, MomentName(now, false), daily, now);
  const NarrowText name = Utf8ToNarrow(taken.name);
  switch (taken.what) {
    case memory::BackupTaken::kNew:
      Say("バックアップしました: "_sj + name);
      break;
    case memory::BackupTaken::kReplaced:
      Say("今日のバックアップを新しくしました: "_sj + name);
      break;
    case memory::BackupTaken::kKeptExisting:
      Say("今日のバックアップはもうあります: "_sj + name);
      return kDone;
    case memory::BackupTaken::kNoFiles:
      Say("バックアップするファイルがありません"_sj);
      return kDone;
  }
  for (const std::string& removed :
       memory::RemoveOldBackups(root, taken.name)) {
    Say("古いバックアップを消しました: "_sj + Utf8ToNarrow(removed));
  }
  return kDone;
}

int Restore(const std::string& folder, const std::string& root,
            const Request& request) {
  std::vector<MemoryFile> files;
  for (MemoryFile file : memory::kMemoryFiles) {
    if (request.arguments.size() == 1 ||
        std::find(request.arguments.begin() + 1, request.arguments.end(),
                  memory::FileName(file)) != request.arguments.end()) {
      files.push_back(file);
    }
  }
  const memory::BackupFiles backup =
      memory::ReadBackup(root, request.arguments[0], files);
  // The files as they are now, under a name of their own that no restore
  // of the same second can take.
  const int64_t now = Now();
  const std::string moment = MomentName(now, true);
  std::string snapshot = moment;
  for (int32_t n = 2; memory::IsFolder(root + "/" + snapshot); ++n) {
    snapshot = moment + "-" + std::to_string(n);
  }
  const memory::TakenBackup taken =
      memory::TakeBackup(folder, root, snapshot, true, now);
  if (taken.what != memory::BackupTaken::kNoFiles) {
    Say("今のファイルをバックアップしました: "_sj + Utf8ToNarrow(taken.name));
  }
  const memory::Restored restored =
      memory::RestoreBackup(folder, backup, files, request.exact);
  for (MemoryFile file : restored.written) {
    Say(NarrowText(memory::FileName(file)) + " を戻しました"_sj);
  }
  for (MemoryFile file : restored.removed) {
    Say(NarrowText(memory::FileName(file)) +
        " を消しました（バックアップにないため）"_sj);
  }
  for (MemoryFile file : restored.kept) {
    Say(NarrowText(memory::FileName(file)) +
        " はバックアップにないので、そのままにしました"_sj);
  }
  return kDone;
}

}  // namespace

int BackUp(const std::string& folder, const std::string& root,
           const Request& request) {
  if (request.command == Command::kBackups) {
    const std::vector<memory::Backup> backups = memory::ListBackups(root);
    if (backups.empty()) Say("バックアップはありません"_sj);
    for (const memory::Backup& backup : backups) Say(BackupLine(backup));
    return kDone;
  }
  const std::optional<FolderLock> lock = HoldFolder(folder);
  if (!lock) return kFolderInUse;
  if (request.command == Command::kBackup) {
    return TakeDaily(folder, root, request.daily);
  }
  return Restore(folder, root, request);
}

}  // namespace holvan::memory_cli
