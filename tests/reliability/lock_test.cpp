// Two programs on one memory folder: whoever comes second is refused and told
// which program holds the folder and its process; where the folder cannot be
// read, a lock file inside it serves; where no lock can be had, the editing
// tools refuse and Holvan says so before it runs.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "faults.h"
#include "support/piped_program.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "term_driver.h"

namespace holvan::testing {
namespace {

namespace fs = std::filesystem;

const std::string kProfile = Sj("太郎\r\n5\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
const std::string kNextProfile = Sj("太郎\r\n6\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
const std::string kDictionary = Sj("東京*日本の首都\r\n");
constexpr const char* kLockFile = ".holvan.lock";

// The memory files of a folder, owned by user for runs as that user.
class LockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::canonical(dir_.path()).string();
    WriteFiles();
  }

  void WriteFiles() {
    for (const auto& [name, bytes] : files_) WriteFile(File(name), bytes);
  }

  std::string File(const std::string& name) const {
    return folder_ + "/" + name;
  }
  bool FilesAsWritten() const {
    for (const auto& [name, bytes] : files_) {
      if (ReadFile(File(name)) != bytes) return false;
    }
    return true;
  }

  // Gives the folder and its files to user nobody, the folder with mode.
  // False where runs as nobody are not possible.
  bool GiveToNobody(mode_t mode) {
    nobody_ = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody_ == nullptr) return false;
    for (const auto& [name, bytes] : files_) {
      if (::chown(File(name).c_str(), nobody_->pw_uid, nobody_->pw_gid) != 0) {
        return false;
      }
    }
    return ::chmod(folder_.c_str(), mode) == 0;
  }

  // holvan-memory on the folder, as root or as nobody.
  ProgramRun Memory(std::vector<std::string> args, bool as_nobody = false) {
    args.insert(args.begin(), {HOLVAN_MEMORY_PATH, "--dir", folder_});
    if (as_nobody) {
      args.insert(args.begin(), {"--reuid=" + std::to_string(nobody_->pw_uid),
                                 "--regid=" + std::to_string(nobody_->pw_gid),
                                 "--clear-groups", "--"});
      return RunProgram("/usr/bin/setpriv", args, folder_, "");
    }
    const std::string program = args.front();
    args.erase(args.begin());
    return RunProgram(program, args, folder_, "");
  }

  ProgramRun AddFact(bool as_nobody = false) {
    return Memory({"add", "fact", "猫", "動物"}, as_nobody);
  }

  TempDir dir_;
  std::string folder_;
  const std::map<std::string, std::string> files_ = {
      {"holv.dat", kProfile},
      {"dic.dat", kDictionary},
      {"brain.dat", Sj("好き＝楽しい事\r\n嫌い＝いやな事\r\n")},
      {"res.dat", Sj("一言\r\n")}};
  const passwd* nobody_ = nullptr;
};

std::string Process(pid_t pid) { return "プロセス " + std::to_string(pid); }

// Each program that holds the folder is named, with its process, to a
// holvan-term and a holvan-memory add started meanwhile; they change nothing.
TEST_F(LockTest, TheRefusedAreToldWhoHoldsTheFolder) {
  struct Holder {
    const char* case_name;
    std::vector<std::string> argv;
    const char* name;
    bool holvan;
  };
  std::vector<Holder> holders = {
      // holvan-term works in its current folder.
      {"holvan-term",
       {"/usr/bin/env", "-C", folder_, HOLVAN_TERM_PATH, "--seed", "1"},
       "holvan-term",
       true},
      {"holvan-memory (import reading its input)",
       {HOLVAN_MEMORY_PATH, "--dir", folder_, "import", "dic", "-"},
       "holvan-memory",
       false},
  };
#ifdef HOLVAN_EDITOR_PATH
  holders.push_back({"記憶の整理",
                     {HOLVAN_EDITOR_PATH, "--dir", folder_},
                     "「記憶の整理」",
                     false});
#endif
  for (const Holder& holder : holders) {
    WriteFiles();
    PipedProgram program(holder.argv, dir_.File("out"),
                         {{"QT_QPA_PLATFORM", "offscreen"}});
    ASSERT_TRUE(WaitUntilLocked(folder_, program.pid())) << holder.case_name;
    const std::string who =
        std::string(holder.name) + "（" + Process(program.pid()) + "）";
    const TermResult term = RunTermOnce(folder_, "猫とは動物だ\n");
    const ProgramRun add = AddFact();
    const std::string term_says =
        holder.holvan ? "Holvan はこのフォルダですでに起動しています（" +
                            std::string(holder.name) + "、" +
                            Process(program.pid()) + "）\n"
                      : who + "がこのフォルダを使っています\n";
    const std::string memory_says =
        holder.holvan
            ? "holvan-memory: Holvan の終了後に編集できます（" +
                  std::string(holder.name) + "、" + Process(program.pid()) +
                  "）\n"
            : "holvan-memory: " + who +
                  "がこのフォルダを使っています。終了後に編集できます\n";
    EXPECT_EQ(term.status, 3) << holder.case_name;
    EXPECT_EQ(term.err, term_says);
    EXPECT_EQ(add.status, 3) << holder.case_name;
    EXPECT_EQ(add.err, memory_says);
    const bool untouched = FilesAsWritten();
    EXPECT_TRUE(untouched) << holder.case_name;
    ::kill(program.pid(), SIGTERM);
    program.Finish("");
    ReportCase(
        "two copies",
        std::string("holvan-term and holvan-memory add while ") +
            holder.case_name + " holds the folder",
        Reported(term.status == 3 && term.err == term_says && add.status == 3 &&
                     add.err == memory_says && untouched,
                 "each refused with status 3, naming " +
                     std::string(holder.name) +
                     " and its process; nothing written"),
        "4 files byte for byte");
  }
}

// A folder that may be written and searched but not read: the lock file
// stands for the folder's own lock, and a second writer is never possible.
TEST_F(LockTest, AFolderThatCannotBeReadIsLockedByTheLockFile) {
  if (!GiveToNobody(0333)) GTEST_SKIP() << "needs root and user nobody";
  TermDriver first(folder_, FixedClock(), "nobody");
  ASSERT_TRUE(first.WaitOut("どうも 太郎さん")) << first.err();
  const std::string holder = "（holvan-term、" + Process(first.pid()) + "）\n";
  const TermResult second =
      RunTermOnce(folder_, "こんにちは\n/quit\n", 1, "nobody");
  EXPECT_EQ(second.status, 3);
  EXPECT_EQ(second.err, "Holvan はこのフォルダですでに起動しています" + holder);
  // By the lock file and by the folder's own lock, which root can take.
  for (bool as_nobody : {true, false}) {
    const ProgramRun add = AddFact(as_nobody);
    EXPECT_EQ(add.status, 3) << as_nobody;
    EXPECT_EQ(add.err, "holvan-memory: Holvan の終了後に編集できます" + holder);
  }
  first.Send("猫とは動物だ");
  EXPECT_EQ(first.Finish(), 0) << first.err();
  EXPECT_EQ(ReadFile(File("holv.dat")), kNextProfile);
  EXPECT_EQ(ReadFile(File("res.dat")), Sj("一言\r\n猫とは動物だ\r\n"));
  EXPECT_EQ(ReadFile(File("dic.dat")), kDictionary);
  // Once it has ended, the folder is free.
  EXPECT_EQ(AddFact(true).status, 0);
  EXPECT_EQ(ReadFile(File("dic.dat")), kDictionary + Sj("猫*動物\r\n"));
  ReportCase(
      "two copies",
      "a folder that can be written but not read (0333, as user nobody): a "
      "second holvan-term and holvan-memory add while holvan-term runs",
      Reported(!::testing::Test::HasFailure(),
               "the lock file serves: both refused with status 3, naming the "
               "first; the first saves as if alone; once it ends, add works"),
      "holv.dat, res.dat, dic.dat");
}

// The lock file is no memory file: the check, backups, export and the sweep
// of temporaries pass it by.
TEST_F(LockTest, TheLockFileIsNoMemoryFile) {
  WriteFile(File(kLockFile), "");
  const ProgramRun check = Memory({"check"});
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  const ProgramRun backup =
      Memory({"--backups", dir_.File("backups"), "backup"});
  EXPECT_EQ(backup.status, 0) << backup.err;
  EXPECT_EQ(Memory({"export", dir_.File("export")}).status, 0);
  EXPECT_EQ(RunTermOnce(folder_, "").status, 0);
  bool copied = false;
  for (const auto& entry :
       fs::recursive_directory_iterator(dir_.File("backups"))) {
    copied = copied || entry.path().filename() == kLockFile;
  }
  for (const auto& entry : fs::directory_iterator(dir_.File("export"))) {
    copied = copied ||
             entry.path().filename().string().find("lock") != std::string::npos;
  }
  EXPECT_FALSE(copied);
  EXPECT_TRUE(fs::exists(File(kLockFile)));
  ReportCase("two copies", "the lock file beside the memory files",
             Reported(!::testing::Test::HasFailure(),
                      "check finds nothing; backup and export leave it out; "
                      "holvan-term's sweep of temporaries keeps it"),
             "the check's status, the backup's and export's entries");
}

// Where no lock can be had at all, holvan-term says so and runs as it would;
// holvan-memory refuses to edit.
TEST_F(LockTest, WithoutAnyLockHolvanSaysSoAndTheEditorsRefuse) {
  if (!GiveToNobody(0333)) GTEST_SKIP() << "needs root and user nobody";
  fs::create_directory(File(kLockFile));
  const std::string no_lock =
      "フォルダ " + folder_ + " をロックできません（Is a directory）。";
  const TermResult run =
      RunTermOnce(folder_, "猫とは動物だ\n/quit\n", 1, "nobody");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, no_lock + "ロックせずに起動します\n");
  EXPECT_EQ(ReadFile(File("holv.dat")), kNextProfile);
  const ProgramRun add = AddFact(true);
  EXPECT_EQ(add.status, 1);
  EXPECT_EQ(add.err,
            "holvan-memory: " + no_lock + "ロックできないときは編集しません\n");
  EXPECT_EQ(ReadFile(File("dic.dat")), kDictionary);
  ReportCase("two copies",
             "no lock to be had (0333 folder, a folder in the lock file's "
             "place, as user nobody)",
             Reported(!::testing::Test::HasFailure(),
                      "holvan-term says so on stderr, then runs and saves; "
                      "holvan-memory add refuses with status 1 and the reason"),
             "holv.dat, dic.dat");
}

}  // namespace
}  // namespace holvan::testing
