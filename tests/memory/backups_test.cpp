#include "memory/backups.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "../reliability/faults.h"
#include "errors/error.h"
#include "memory/backup_restore.h"
#include "memory/backup_scrub.h"
#include "support/temp_dir.h"
#include "text/cp932.h"

namespace holvan::memory {
namespace {

using testing::FileAttribute;
using testing::FolderEntries;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

/// 2026-12-01 00:00 UTC, and 2099-01-01.
constexpr int64_t kDecember = 1796083200;
constexpr int64_t kFuture = 4070908800;
constexpr int64_t kDay = 86400;

/// "2026-12-07" for month "2026-12" and day 7.
std::string Day(const std::string& month, int day) {
  return month + (day < 10 ? "-0" : "-") + std::to_string(day);
}

std::vector<std::string> Names(const std::vector<Backup>& backups) {
  std::vector<std::string> names;
  for (const Backup& backup : backups) names.push_back(backup.name);
  return names;
}

mode_t Mode(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::string ErrorOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const Error& error) {
    return NarrowToUtf8(error.message());
  }
  return "";
}

/// A memory folder and a folder of backups below a state folder.
class BackupsTest : public ::testing::Test {
 protected:
  BackupsTest() {
    memory_.WriteBytes("dic.dat", "a*1\r\nb\r\n");
    memory_.WriteBytes("res.dat", "x\r\npassword\r\ny\r\n");
  }

  std::string root() const { return state_.File("holvan/backups"); }
  std::string InBackup(const std::string& name, std::string_view file) const {
    return root() + "/" + name + "/" + std::string(file);
  }
  TakenBackup Take(std::string_view name, int64_t taken, bool keep = false) {
    return TakeBackup(memory_.path(), root(), name, keep, taken);
  }

  TempDir memory_;
  TempDir state_;
};

TEST_F(BackupsTest, TakesReplacesOrKeepsAPrivateBackupAndSaysWhatItHolds) {
  const mode_t umask = ::umask(0);
  const TakenBackup taken = Take("2026-12-01", kDecember);
  ::umask(umask);
  EXPECT_EQ(taken.what, BackupTaken::kNew);
  EXPECT_EQ(taken.name, "2026-12-01");
  EXPECT_EQ(Mode(root()), 0700u);
  EXPECT_EQ(Mode(state_.File("holvan")), 0700u);
  EXPECT_EQ(Mode(root() + "/2026-12-01"), 0700u);
  for (const char* file : {"dic.dat", "res.dat", "holvan-backup"}) {
    EXPECT_EQ(Mode(InBackup("2026-12-01", file)), 0600u) << file;
  }

  std::vector<Backup> listed = ListBackups(root());
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_TRUE(listed[0].whole()) << NarrowToUtf8(listed[0].damage);
  EXPECT_EQ(listed[0].taken(), kDecember);
  EXPECT_EQ(listed[0].manifest->facts, 1);
  EXPECT_EQ(listed[0].manifest->words, 0);
  EXPECT_EQ(listed[0].manifest->phrases, 3);
  EXPECT_EQ(listed[0].manifest->Find(MemoryFile::kDiary), nullptr);
  EXPECT_EQ(listed[0].manifest->Find(MemoryFile::kPhrases)->size, 16u);

  memory_.WriteBytes("dic.dat", "a*2\r\n");
  EXPECT_EQ(Take("2026-12-01", kDecember + 1, true).what,
            BackupTaken::kKeptExisting);
  EXPECT_EQ(ReadFile(InBackup("2026-12-01", "dic.dat")), "a*1\r\nb\r\n");
  EXPECT_EQ(Take("2026-12-01", kDecember + 2).what, BackupTaken::kReplaced);
  EXPECT_EQ(ReadFile(InBackup("2026-12-01", "dic.dat")), "a*2\r\n");
  EXPECT_EQ(ListBackups(root())[0].taken(), kDecember + 2);
  EXPECT_EQ(FolderEntries(root()), std::vector<std::string>{"2026-12-01"});

  // A folder of backups that was open to others becomes private.
  std::filesystem::permissions(root(), std::filesystem::perms::all);
  Take("2026-12-02", kDecember + kDay);
  EXPECT_EQ(Mode(root()), 0700u);

  TempDir nothing;
  EXPECT_EQ(
      TakeBackup(nothing.path(), root(), "2026-12-16", false, kDecember).what,
      BackupTaken::kNoFiles);
}

TEST_F(BackupsTest, RotatesByWhenTakenNeverTheNewOneNorWhatIsNotItsOwn) {
  // A user's photos named by their days, and a folder by today's name.
  for (int day = 1; day <= 7; ++day) {
    std::filesystem::create_directories(root() + "/" + Day("2025-03", day));
    WriteFile(root() + "/" + Day("2025-03", day) + "/photo.jpg", "jpeg");
  }
  std::filesystem::create_directories(root() + "/2026-12-01");
  // Backups taken before the clock was set back, the first of them holding
  // a note of the user's.
  for (int day = 1; day <= 14; ++day) {
    Take(Day("2099-01", day), kFuture + day * kDay);
  }
  WriteFile(InBackup("2099-01-01", "note.txt"), "mine");

  const TakenBackup taken = Take("2026-12-01", kDecember);
  EXPECT_EQ(taken.name, "2026-12-01-2");
  EXPECT_EQ(RemoveOldBackups(root(), taken.name),
            std::vector<std::string>{"2099-01-02"});
  const std::vector<std::string> names = Names(ListBackups(root()));
  ASSERT_EQ(names.size(), 14u);
  EXPECT_EQ(names.front(), "2026-12-01-2");
  EXPECT_EQ(names[1], "2099-01-01");
  for (int day = 1; day <= 7; ++day) {
    EXPECT_EQ(ReadFile(root() + "/" + Day("2025-03", day) + "/photo.jpg"),
              "jpeg");
  }
  EXPECT_TRUE(std::filesystem::is_directory(root() + "/2026-12-01"));
  EXPECT_EQ(ReadFile(InBackup("2099-01-01", "note.txt")), "mine");
  for (const std::string& name : FolderEntries(root())) {
    EXPECT_FALSE(name.starts_with('.')) << name;
  }
}

TEST_F(BackupsTest, SweepsOnlyTheHalfBackupsOfHolvansEndedProcesses) {
  const pid_t child = ::fork();
  if (child == 0) _exit(0);
  ::waitpid(child, nullptr, 0);
  const std::string ended = std::to_string(child);
  const std::vector<std::pair<std::string, std::string>> kPartials = {
      {".partial-" + ended + "-abcdef", "dic.dat"},
      {".partial-" + ended + "-ghijkl", "holvan-backup"},
      {".partial-" + ended + "-mnopqr", "photo.jpg"},
      {".partial-abc", "dic.dat"},
      {".partial-0-abcdef", "dic.dat"},
      {".partial-0" + ended + "-abcdef", "dic.dat"},
      {".partial-" + ended + "-abc", "dic.dat"},
      {".partial-1-abcdef", "dic.dat"},
  };
  for (const auto& [name, file] : kPartials) {
    std::filesystem::create_directories(root() + "/" + name);
    WriteFile(root() + "/" + name + "/" + file, "x");
  }
  Take("2026-12-01", kDecember);
  std::vector<std::string> expected = {"2026-12-01"};
  for (std::size_t i = 2; i < kPartials.size(); ++i) {
    expected.push_back(kPartials[i].first);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderEntries(root()), expected);
}

TEST_F(BackupsTest, ListsDamagedBackupsAsSuchAndNeverRestoresThem) {
  const std::pair<std::string, std::function<void(const std::string&)>>
      kDamages[] = {
          {"res.dat の大きさが記録と違います",
           [](const std::string& folder) {
             WriteFile(folder + "/res.dat", "x\r\n");
           }},
          {"dic.dat がありません",
           [](const std::string& folder) {
             std::filesystem::remove(folder + "/dic.dat");
           }},
          {"記録 holvan-backup が読めません",
           [](const std::string& folder) {
             WriteFile(folder + "/holvan-backup", "holvan-backup 1\nbroken\n");
           }},
      };
  for (const auto& [damage, make] : kDamages) {
    Take("2026-12-01", kDecember);
    make(root() + "/2026-12-01");
    const std::vector<Backup> listed = ListBackups(root());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(NarrowToUtf8(listed[0].damage), damage);
    EXPECT_EQ(ErrorOf([&] { ReadBackup(root(), "2026-12-01", kMemoryFiles); }),
              "バックアップ「2026-12-01」は壊れているので戻しません（" +
                  damage + "）");
    std::filesystem::remove_all(root() + "/2026-12-01");
  }
  // A byte changed in place is found by the checksum.
  Take("2026-12-01", kDecember);
  WriteFile(InBackup("2026-12-01", "dic.dat"), "a*9\r\nb\r\n");
  EXPECT_TRUE(ListBackups(root())[0].whole());
  EXPECT_EQ(ErrorOf([&] { ReadBackup(root(), "2026-12-01", kMemoryFiles); }),
            "バックアップ「2026-12-01」は壊れているので戻しません（dic.dat "
            "の中身が記録と違います）");
  EXPECT_EQ(ErrorOf([&] { ReadBackup(root(), "..", kMemoryFiles); }),
            "バックアップ「..」はありません");
}

TEST_F(BackupsTest, RestoresWhatTheBackupHoldsAndLeavesTheRestUnlessExact) {
  Take("2026-12-06", kDecember);
  memory_.WriteBytes("dic.dat", "new*1\r\n");
  memory_.WriteBytes("res.dat", "new\r\n");
  memory_.WriteBytes("diary.dat", "today\r\n");

  const MemoryFile dictionary[] = {MemoryFile::kDictionary};
  Restored restored = RestoreBackup(
      memory_.path(), ReadBackup(root(), "2026-12-06", dictionary), dictionary,
      false);
  EXPECT_EQ(restored.written, std::vector{MemoryFile::kDictionary});
  EXPECT_EQ(memory_.ReadBytes("dic.dat"), "a*1\r\nb\r\n");
  EXPECT_EQ(memory_.ReadBytes("res.dat"), "new\r\n");

  restored = RestoreBackup(memory_.path(),
                           ReadBackup(root(), "2026-12-06", kMemoryFiles),
                           kMemoryFiles, false);
  EXPECT_EQ(restored.kept, std::vector{MemoryFile::kDiary});
  EXPECT_EQ(memory_.ReadBytes("res.dat"), "x\r\npassword\r\ny\r\n");
  EXPECT_EQ(memory_.ReadBytes("diary.dat"), "today\r\n");

  restored = RestoreBackup(memory_.path(),
                           ReadBackup(root(), "2026-12-06", kMemoryFiles),
                           kMemoryFiles, true);
  EXPECT_EQ(restored.removed, std::vector{MemoryFile::kDiary});
  EXPECT_FALSE(memory_.Exists("diary.dat"));
  EXPECT_EQ(FolderEntries(memory_.path()),
            (std::vector<std::string>{"dic.dat", "res.dat"}));
}

TEST_F(BackupsTest, ARestoreThatCannotPrepareAFileChangesNothing) {
  memory_.WriteBytes("holv.dat", "name\r\n");
  Take("2026-12-06", kDecember);
  for (const char* file : {"dic.dat", "res.dat", "holv.dat"}) {
    memory_.WriteBytes(file, "now\r\n");
  }
  const BackupFiles backup = ReadBackup(root(), "2026-12-06", kMemoryFiles);
  FileAttribute immutable(memory_.File("holv.dat"));
  if (!immutable.ok()) GTEST_SKIP() << "chattr +i is not available here";
  EXPECT_EQ(ErrorOf([&] {
              RestoreBackup(memory_.path(), backup, kMemoryFiles, false);
            }),
            "ﾌｧｲﾙ " + memory_.File("holv.dat") +
                " を作成できません。記憶は戻す前のままです");
  immutable.Lift();
  for (const char* file : {"dic.dat", "res.dat", "holv.dat"}) {
    EXPECT_EQ(memory_.ReadBytes(file), "now\r\n") << file;
  }
  EXPECT_EQ(FolderEntries(memory_.path()),
            (std::vector<std::string>{"dic.dat", "holv.dat", "res.dat"}));
}

TEST_F(BackupsTest, RemovesAPhraseFromEveryBackupAndTellsWhatItLeft) {
  Take("2026-12-01", kDecember);
  memory_.WriteBytes("res.dat", "password\r\nx\rpassword");
  Take("2026-12-02", kDecember + kDay);
  Take("2026-12-03", kDecember + 2 * kDay);
  WriteFile(InBackup("2026-12-03", "dic.dat"), "a*1\r\n");
  Take("2026-12-04", kDecember + 3 * kDay);
  memory_.WriteBytes("res.dat", "other\r\n");
  Take("2026-12-05", kDecember + 4 * kDay);
  WriteFile(InBackup("2026-12-04", "note.txt"), "mine");
  // A backup made before backups were marked.
  std::filesystem::create_directories(root() + "/2026-11-30");
  WriteFile(root() + "/2026-11-30/res.dat", "password\r\n");

  const NarrowText phrases[] = {"password", "nothing"};
  const PhrasesRemoved removed = RemovePhrasesFromBackups(root(), phrases);
  EXPECT_EQ(removed.backups, 3);
  EXPECT_EQ(removed.left,
            (std::vector<std::string>{"2026-11-30", "2026-12-04"}));
  EXPECT_EQ(ReadFile(InBackup("2026-12-01", "res.dat")), "x\r\ny\r\n");
  EXPECT_EQ(ReadFile(InBackup("2026-12-02", "res.dat")), "x\r");
  EXPECT_EQ(ReadFile(InBackup("2026-12-03", "res.dat")), "x\r");
  EXPECT_EQ(ReadFile(InBackup("2026-12-05", "res.dat")), "other\r\n");
  for (const Backup& backup : ListBackups(root())) {
    if (backup.name == "2026-12-04") continue;
    EXPECT_EQ(backup.whole(), backup.name != "2026-12-03") << backup.name;
    EXPECT_EQ(backup.taken(), kDecember + (backup.name.back() - '1') * kDay);
    EXPECT_EQ(Mode(InBackup(backup.name, "res.dat")), 0600u);
    if (backup.name == "2026-12-03") continue;
    EXPECT_EQ(ReadBackup(root(), backup.name, kMemoryFiles).files.size(), 2u);
  }
  EXPECT_EQ(ListBackups(root())[1].manifest->phrases, 1);
  EXPECT_EQ(ReadFile(InBackup("2026-12-02", "dic.dat")), "a*1\r\nb\r\n");
  EXPECT_EQ(ReadFile(root() + "/2026-11-30/res.dat"), "password\r\n");
  for (const std::string& name : FolderEntries(root())) {
    EXPECT_FALSE(name.starts_with('.')) << name;
  }
  EXPECT_EQ(RemovePhrasesFromBackups(root(), phrases).backups, 0);
}

// A backup killed at any moment leaves the backups folder with whole
// backups only; the next backup clears what the killed one left.
TEST_F(BackupsTest, AKilledBackupLeavesNoHalfBackup) {
  const std::string big(4 << 20, 'x');
  for (MemoryFile file : kMemoryFiles) {
    memory_.WriteBytes(FileName(file), big);
  }
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    const pid_t child = ::fork();
    if (child == 0) {
      try {
        for (int day = 1;; day = day % 3 + 1) {
          Take(Day("2026-11", day), kDecember + day);
        }
      } catch (...) {
      }
      _exit(1);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 200000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    for (const Backup& backup : ListBackups(root())) {
      EXPECT_TRUE(backup.whole()) << backup.name;
      for (MemoryFile file : kMemoryFiles) {
        EXPECT_TRUE(ReadFile(InBackup(backup.name, FileName(file))) == big)
            << backup.name;
      }
    }
  }
  Take("2026-12-01", kDecember, true);
  for (const std::string& name : FolderEntries(root())) {
    EXPECT_FALSE(name.starts_with('.')) << name;
  }
}

TEST(BackupManifestTest, ReadsWhatItWritesAndNothingElse) {
  Manifest manifest;
  manifest.taken = kDecember;
  Record(manifest, MemoryFile::kPhrases, "a\r\nb\r\n");
  Record(manifest, MemoryFile::kDictionary, "k*v\r\nno star\r\n");
  Record(manifest, MemoryFile::kBrain, "k＝v\r\n\r\n");
  const std::string text = ManifestText(manifest);
  const std::optional<Manifest> read = ParseManifest(text);
  ASSERT_TRUE(read.has_value()) << text;
  EXPECT_EQ(read->taken, kDecember);
  EXPECT_EQ(read->facts, 1);
  EXPECT_EQ(read->words, 2);
  EXPECT_EQ(read->phrases, 2);
  ASSERT_EQ(read->files.size(), 3u);
  EXPECT_EQ(read->files[0].file, MemoryFile::kDictionary);
  EXPECT_EQ(read->files[2].sha256, Sha256("a\r\nb\r\n"));
  EXPECT_EQ(Sha256(""),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");

  const std::string sum(64, 'a');
  for (const std::string& broken : std::vector<std::string>{
           "",
           std::string("holvan-backup 1\n"),
           "holvan-backup 2\ntaken 1 x\nfacts 0\nwords 0\nphrases 0\n",
           "holvan-backup 1\ntaken 1 x\nfacts -1\nwords 0\nphrases 0\n",
           "holvan-backup 1\ntaken 1 x\nfacts 0\nwords 0\nphrases +0\n",
           "holvan-backup 1\ntaken 1 x\nfacts 0\nwords 0\nphrases 0",
           "holvan-backup 1\ntaken 1 x\nfacts 0\nwords 0\nphrases 0\nfile "
           "res.dat 1 " +
               sum + "\nfile dic.dat 1 " + sum + "\n",
           "holvan-backup 1\ntaken 1 x\nfacts 0\nwords 0\nphrases 0\nfile "
           "passwd 1 " +
               sum + "\n",
           "holvan-backup 1\ntaken 1 x\nfacts 0\nwords 0\nphrases 0\nfile "
           "res.dat 1 " +
               sum.substr(1) + "\n",
       }) {
    EXPECT_FALSE(ParseManifest(broken).has_value()) << broken;
  }
}

}  // namespace
}  // namespace holvan::memory
