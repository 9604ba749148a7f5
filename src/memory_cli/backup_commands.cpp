#include <algorithm>
#include <cstdio>

#include "errors/error.h"
#include "memory/backups.h"
#include "memory/places.h"
#include "memory/wording.h"
#include "memory_cli/commands.h"
#include "memory_cli/output.h"
#include "system/system_platform.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace holvan::memory_cli {
namespace {

using memory::MemoryFile;
using namespace holvan::literals;

/// "2026-12-07", or "2026-12-07-153012" with the time.
std::string MomentName(const Moment& now, bool with_time) {
  char name[32];
  if (with_time) {
    std::snprintf(name, sizeof name, "%04d-%02d-%02d-%02d%02d%02d", now.year,
                  now.month, now.day, now.hour, now.minute, now.second);
  } else {
    std::snprintf(name, sizeof name, "%04d-%02d-%02d", now.year, now.month,
                  now.day);
  }
  return name;
}

int TakeDaily(const std::string& folder, const std::string& root, bool daily) {
  const std::string today =
      MomentName(system::SystemPlatform().LocalNow(), false);
  const NarrowText name = Utf8ToNarrow(today);
  switch (memory::TakeBackup(folder, root, today, daily)) {
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
  for (const NarrowText& removed : memory::RemoveOldBackups(root)) {
    Say("古いバックアップを消しました: "_sj + removed);
  }
  return kDone;
}

int Restore(const std::string& folder, const std::string& root,
            const Request& request) {
  const std::string& name = request.arguments[0];
  std::vector<MemoryFile> files;
  for (MemoryFile file : memory::kMemoryFiles) {
    if (request.arguments.size() == 1 ||
        std::find(request.arguments.begin() + 1, request.arguments.end(),
                  memory::FileName(file)) != request.arguments.end()) {
      files.push_back(file);
    }
  }
  const std::vector<memory::Backup> backups = memory::ListBackups(root);
  if (std::none_of(
          backups.begin(), backups.end(),
          [&](const memory::Backup& backup) { return backup.name == name; })) {
    throw Error("バックアップ"_sj + memory::Quoted(Utf8ToNarrow(name)) +
                "はありません"_sj);
  }
  // The files as they are now, under a name of their own that no restore
  // of the same second can take.
  const std::string moment =
      MomentName(system::SystemPlatform().LocalNow(), true);
  std::string snapshot = moment;
  for (int32_t n = 2; memory::IsFolder(root + "/" + snapshot); ++n) {
    snapshot = moment + "-" + std::to_string(n);
  }
  if (memory::TakeBackup(folder, root, snapshot, true) !=
      memory::BackupTaken::kNoFiles) {
    Say("今のファイルをバックアップしました: "_sj + Utf8ToNarrow(snapshot));
  }
  const memory::Restored restored =
      memory::RestoreBackup(folder, root, name, files);
  for (MemoryFile file : restored.written) {
    Say(NarrowText(memory::FileName(file)) + " を戻しました"_sj);
  }
  for (MemoryFile file : restored.removed) {
    Say(NarrowText(memory::FileName(file)) +
        " を消しました（バックアップにないため）"_sj);
  }
  return kDone;
}

}  // namespace

int BackUp(const std::string& folder, const std::string& root,
           const Request& request) {
  if (request.command == Command::kBackups) {
    const std::vector<memory::Backup> backups = memory::ListBackups(root);
    if (backups.empty()) Say("バックアップはありません"_sj);
    for (const memory::Backup& backup : backups) {
      Say(backup.name + "\t"_sj + IntText(backup.files) + " ファイル\t"_sj +
          Utf8ToNarrow(std::to_string(backup.bytes)) + " バイト"_sj);
    }
    return kDone;
  }
  const std::optional<system::FolderLock> lock = HoldFolder(folder);
  if (!lock) return kFolderInUse;
  if (request.command == Command::kBackup) {
    return TakeDaily(folder, root, request.daily);
  }
  return Restore(folder, root, request);
}

}  // namespace holvan::memory_cli
