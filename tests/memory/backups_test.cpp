#include "memory/backups.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "../reliability/faults.h"
#include "errors/error.h"
#include "support/temp_dir.h"

namespace holvan::memory {
namespace {

using testing::FolderEntries;
using testing::ReadFile;
using testing::TempDir;

/// "2026-12-07" for month "2026-12" and day 7.
std::string Day(const std::string& month, int day) {
  return month + (day < 10 ? "-0" : "-") + std::to_string(day);
}

std::vector<std::string> Names(const std::vector<Backup>& backups) {
  std::vector<std::string> names;
  for (const Backup& backup : backups) names.push_back(backup.name);
  return names;
}

TEST(BackupsTest, TakesReplacesOrKeepsADaysBackupAndKeepsTheNewest14) {
  TempDir memory;
  TempDir state;
  const std::string root = state.File("holvan/backups");
  memory.WriteBytes("dic.dat", "a*1\r\n");
  memory.WriteBytes("res.dat", "x\r\n");
  EXPECT_EQ(TakeBackup(memory.path(), root, "2026-12-01", false),
            BackupTaken::kNew);
  EXPECT_EQ(
      std::filesystem::status(root).permissions() & std::filesystem::perms::all,
      std::filesystem::perms::owner_all);
  memory.WriteBytes("dic.dat", "a*2\r\n");
  EXPECT_EQ(TakeBackup(memory.path(), root, "2026-12-01", true),
            BackupTaken::kKeptExisting);
  EXPECT_EQ(ReadFile(root + "/2026-12-01/dic.dat"), "a*1\r\n");
  EXPECT_EQ(TakeBackup(memory.path(), root, "2026-12-01", false),
            BackupTaken::kReplaced);
  EXPECT_EQ(ReadFile(root + "/2026-12-01/dic.dat"), "a*2\r\n");

  const std::vector<Backup> one = ListBackups(root);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].files, 2);
  EXPECT_EQ(one[0].bytes, 8u);

  for (int day = 2; day <= 15; ++day) {
    TakeBackup(memory.path(), root, Day("2026-12", day), false);
  }
  EXPECT_EQ(ListBackups(root).size(), 15u);
  EXPECT_EQ(RemoveOldBackups(root), std::vector<NarrowText>{"2026-12-01"});
  const std::vector<std::string> names = Names(ListBackups(root));
  EXPECT_EQ(names.size(), 14u);
  EXPECT_EQ(names.front(), "2026-12-02");
  EXPECT_EQ(names.back(), "2026-12-15");

  TempDir nothing;
  EXPECT_EQ(TakeBackup(nothing.path(), root, "2026-12-16", false),
            BackupTaken::kNoFiles);
  EXPECT_FALSE(IsBackupName("../2026-12-01"));
  EXPECT_FALSE(IsBackupName("2026-12-1"));
  EXPECT_TRUE(IsBackupName("2026-12-07-153012-2"));
}

TEST(BackupsTest, RestoresWhatTheBackupHoldsAndRemovesWhatItLacks) {
  TempDir memory;
  TempDir state;
  memory.WriteBytes("brain.dat", "old brain\r\n");
  memory.WriteBytes("res.dat", "old phrases\r\n");
  TakeBackup(memory.path(), state.path(), "2026-12-06", false);
  memory.WriteBytes("brain.dat", "new brain\r\n");
  memory.WriteBytes("res.dat", "new phrases\r\n");
  memory.WriteBytes("diary.dat", "new diary\r\n");

  // Only the files asked for.
  const MemoryFile brain[] = {MemoryFile::kBrain};
  Restored restored =
      RestoreBackup(memory.path(), state.path(), "2026-12-06", brain);
  EXPECT_EQ(restored.written, std::vector<MemoryFile>{MemoryFile::kBrain});
  EXPECT_EQ(memory.ReadBytes("brain.dat"), "old brain\r\n");
  EXPECT_EQ(memory.ReadBytes("res.dat"), "new phrases\r\n");

  restored =
      RestoreBackup(memory.path(), state.path(), "2026-12-06", kMemoryFiles);
  EXPECT_EQ(restored.removed, std::vector<MemoryFile>{MemoryFile::kDiary});
  EXPECT_EQ(memory.ReadBytes("res.dat"), "old phrases\r\n");
  EXPECT_FALSE(memory.Exists("diary.dat"));
  EXPECT_FALSE(memory.Exists("dic.dat"));

  EXPECT_THROW(
      RestoreBackup(memory.path(), state.path(), "2026-12-05", kMemoryFiles),
      Error);
  EXPECT_THROW(RestoreBackup(memory.path(), state.path(), "..", kMemoryFiles),
               Error);
}

// A backup killed at any moment leaves the backups folder with whole
// snapshots only; the next backup clears what the killed one left.
TEST(BackupsTest, AKilledBackupLeavesNoHalfSnapshot) {
  TempDir memory;
  TempDir state;
  const std::string big(4 << 20, 'x');
  for (MemoryFile file : kMemoryFiles) {
    memory.WriteBytes(FileName(file), big);
  }
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    const pid_t child = ::fork();
    if (child == 0) {
      try {
        for (int day = 1;; day = day % 3 + 1) {
          TakeBackup(memory.path(), state.path(), Day("2026-11", day), false);
        }
      } catch (...) {
      }
      _exit(1);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 200000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    for (const Backup& backup : ListBackups(state.path())) {
      EXPECT_EQ(backup.files, 5) << backup.name;
      for (MemoryFile file : kMemoryFiles) {
        EXPECT_EQ(ReadFile(state.File(backup.name) + "/" +
                           std::string(FileName(file))),
                  big)
            << backup.name;
      }
    }
  }
  TakeBackup(memory.path(), state.path(), "2026-12-01", true);
  for (const std::string& name : FolderEntries(state.path())) {
    EXPECT_TRUE(IsBackupName(name)) << name;
  }
}

}  // namespace
}  // namespace holvan::memory
