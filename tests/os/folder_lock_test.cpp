#include "os/folder_lock.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "os/lock_messages.h"
#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::Sj;
using testing::TempDir;

// How a child process tries the lock.
struct Child {
  // Gives up root for user nobody first, so that mode bits stop it.
  bool as_nobody = false;
  // The name the kernel keeps for it, as exec would set it.
  const char* name = nullptr;
};

// What the child got.
struct Report {
  char state = -1;
  int error = 0;
  pid_t holder = 0;
  HolderProgram program = HolderProgram::kOther;
  char command[16] = {};
};

// A child process that tries the lock, reports what it got on a pipe, then
// waits to be killed holding what it took.
class OtherProcess {
 public:
  explicit OtherProcess(const std::string& folder, Child child = {}) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      if (child.as_nobody && ::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr || ::setgroups(0, nullptr) != 0 ||
            ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) {
          _exit(1);
        }
      }
      if (child.name != nullptr) ::prctl(PR_SET_NAME, child.name);
      const FolderLock lock = FolderLock::TryLock(folder);
      Report report;
      report.state = static_cast<char>(lock.state());
      report.error = lock.error();
      if (lock.holder()) {
        report.holder = lock.holder()->pid;
        report.program = lock.holder()->program;
        lock.holder()->command.copy(report.command, 15);
      }
      if (::write(fds[1], &report, sizeof report) != sizeof report) _exit(1);
      ::pause();
      _exit(0);
    }
    ::close(fds[1]);
    if (::read(fds[0], &report_, sizeof report_) != sizeof report_) {
      report_.state = -1;
    }
    ::close(fds[0]);
  }
  ~OtherProcess() { Kill(); }

  /// The state the child got, as an int; -1 when it reported none.
  int state() const { return report_.state; }
  int error() const { return report_.error; }
  /// The holder it was told of; 0 when none.
  pid_t holder() const { return report_.holder; }
  pid_t pid() const { return pid_; }
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  Report report_;
};

int AsInt(FolderLock::State state) { return static_cast<int>(state); }

// A folder that may be written and searched but not read, as user nobody
// finds it while root (the test) passes every mode.
class UnreadableFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root, to act as nobody";
    ASSERT_EQ(::chmod(dir.path().c_str(), 0333), 0);
  }
  std::string LockFile() const { return dir.File(kLockFileName); }

  TempDir dir;
};

TEST(FolderLockTest, OneHolderAtATimeUntilItLetsGo) {
  TempDir dir;
  FolderLock first = FolderLock::TryLock(dir.path());
  EXPECT_TRUE(first.held());
  // Another descriptor in the same process is another holder.
  EXPECT_TRUE(FolderLock::TryLock(dir.path()).busy());
  EXPECT_EQ(OtherProcess(dir.path()).state(), AsInt(FolderLock::State::kBusy));

  // Moved, it is still held; destroyed, it is free.
  FolderLock moved = std::move(first);
  EXPECT_TRUE(moved.held());
  EXPECT_TRUE(FolderLock::TryLock(dir.path()).busy());
  moved = FolderLock::TryLock(dir.File("no such folder"));
  EXPECT_EQ(moved.state(), FolderLock::State::kUnavailable);
  EXPECT_EQ(moved.error(), ENOENT);
  EXPECT_TRUE(FolderLock::TryLock(dir.path()).held());

  // Creates nothing in the folder.
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(FolderLockTest, AKilledHolderFreesItAndStartedProgramsDoNotKeepIt) {
  TempDir dir;
  OtherProcess holder(dir.path());
  ASSERT_EQ(holder.state(), AsInt(FolderLock::State::kHeld));
  EXPECT_TRUE(FolderLock::TryLock(dir.path()).busy());
  holder.Kill();
  FolderLock lock = FolderLock::TryLock(dir.path());
  ASSERT_TRUE(lock.held());

  // A program started while the lock is held outlives it without keeping it.
  // The pipe closes when the program has replaced the child.
  int started[2];
  ASSERT_EQ(::pipe2(started, O_CLOEXEC), 0);
  const pid_t program = ::fork();
  if (program == 0) {
    ::execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(started[1]);
  char byte;
  EXPECT_EQ(::read(started[0], &byte, 1), 0);
  ::close(started[0]);
  lock = FolderLock::TryLock(dir.File("no such folder"));
  EXPECT_TRUE(FolderLock::TryLock(dir.path()).held());
  ::kill(program, SIGKILL);
  ::waitpid(program, nullptr, 0);
}

// Whoever is refused learns which program holds the folder and its process,
// by the name the kernel keeps for it.
TEST(FolderLockTest, TheHolderIsNamedByItsProgram) {
  struct Case {
    const char* name;
    HolderProgram program;
    const char* command;
    const char* message;  // with %d for the process
  };
  const Case cases[] = {
      {"holvan", HolderProgram::kWindow, "holvan",
       "Holvan はこのフォルダですでに起動しています（Holvan のウィンドウ、"
       "プロセス %d）"},
      {"holvan-term", HolderProgram::kTerm, "holvan-term",
       "Holvan はこのフォルダですでに起動しています（holvan-term、プロセス "
       "%d）"},
      // The kernel keeps 15 bytes of a name.
      {"holvan-memory-editor", HolderProgram::kEditor, "holvan-memory-e",
       "「記憶の整理」（プロセス %d）がこのフォルダを使っています"},
      {"holvan-memory", HolderProgram::kMemoryTool, "holvan-memory",
       "holvan-memory（プロセス %d）がこのフォルダを使っています"},
      // A name that would drive a terminal is shown harmless.
      {"\x1b]0;pwned\x07", HolderProgram::kOther, "?]0;pwned?",
       "?]0;pwned?（プロセス %d）がこのフォルダを使っています"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    OtherProcess holder(dir.path(), {.name = c.name});
    ASSERT_EQ(holder.state(), AsInt(FolderLock::State::kHeld)) << c.name;
    const FolderLock refused = FolderLock::TryLock(dir.path());
    ASSERT_TRUE(refused.busy()) << c.name;
    ASSERT_TRUE(refused.holder()) << c.name;
    EXPECT_EQ(refused.holder()->pid, holder.pid()) << c.name;
    EXPECT_EQ(refused.holder()->program, c.program) << c.name;
    EXPECT_EQ(refused.holder()->command, c.command) << c.name;
    std::string message = c.message;
    message.replace(message.find("%d"), 2, std::to_string(holder.pid()));
    EXPECT_EQ(FolderBusyMessage(refused.holder()), Sj(message)) << c.name;
  }
  EXPECT_EQ(FolderBusyMessage(std::nullopt),
            Sj("Holvan はこのフォルダですでに起動しています"));
}

// Where the folder cannot be opened to be locked, the lock file serves, and
// holders of either kind exclude each other whichever comes first; the one
// refused is told who holds it.
TEST_F(UnreadableFolderTest, TheLockFileServesAndExcludesTheFoldersOwnLock) {
  {
    OtherProcess by_file(dir.path(), {.as_nobody = true});
    ASSERT_EQ(by_file.state(), AsInt(FolderLock::State::kHeld));
    struct stat st;
    ASSERT_EQ(::lstat(LockFile().c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    const FolderLock refused = FolderLock::TryLock(dir.path());
    EXPECT_TRUE(refused.busy());
    ASSERT_TRUE(refused.holder());
    EXPECT_EQ(refused.holder()->pid, by_file.pid());
  }
  {
    // The folder's own lock and the lock file's, which is there now.
    const FolderLock both = FolderLock::TryLock(dir.path());
    ASSERT_TRUE(both.held());
    const OtherProcess refused(dir.path(), {.as_nobody = true});
    EXPECT_EQ(refused.state(), AsInt(FolderLock::State::kBusy));
    EXPECT_EQ(refused.holder(), ::getpid());
  }
  // The folder's own lock taken before the lock file was made.
  ASSERT_EQ(::unlink(LockFile().c_str()), 0);
  const FolderLock own = FolderLock::TryLock(dir.path());
  ASSERT_TRUE(own.held());
  const OtherProcess refused(dir.path(), {.as_nobody = true});
  EXPECT_EQ(refused.state(), AsInt(FolderLock::State::kBusy));
  EXPECT_EQ(refused.holder(), ::getpid());
}

// Where the lock file cannot be made, there is no lock; nothing is followed
// through a link or written outside.
TEST_F(UnreadableFolderTest, NoLockWhereTheLockFileCannotBeMade) {
  TempDir outside;
  const std::string target = outside.File("target");
  struct Case {
    const char* what;
    std::function<void()> plant;
    int error;
  };
  const Case cases[] = {
      {"a link to a file to be",
       [&] { std::filesystem::create_symlink(target, LockFile()); }, ELOOP},
      {"a folder", [&] { std::filesystem::create_directory(LockFile()); },
       EISDIR},
      {"a FIFO",
       [&] {
         ASSERT_EQ(::mkfifo(LockFile().c_str(), 0), 0);
         ASSERT_EQ(::chmod(LockFile().c_str(), 0666), 0);
       },
       EINVAL},
  };
  for (const Case& c : cases) {
    c.plant();
    const OtherProcess unlocked(dir.path(), {.as_nobody = true});
    EXPECT_EQ(unlocked.state(), AsInt(FolderLock::State::kUnavailable))
        << c.what;
    EXPECT_EQ(unlocked.error(), c.error) << c.what;
    // The folder's own lock needs none of them.
    EXPECT_TRUE(FolderLock::TryLock(dir.path()).held()) << c.what;
    std::filesystem::remove(LockFile());
  }
  EXPECT_FALSE(std::filesystem::exists(target));
  ASSERT_EQ(::chmod(dir.path().c_str(), 0111), 0);
  const OtherProcess unwritable(dir.path(), {.as_nobody = true});
  EXPECT_EQ(unwritable.state(), AsInt(FolderLock::State::kUnavailable));
  EXPECT_EQ(unwritable.error(), EACCES);
  const FolderLock missing = FolderLock::TryLock(dir.File("missing"));
  EXPECT_EQ(UnlockedStartMessage(dir.File("missing"), missing),
            Sj("フォルダ " + dir.File("missing") +
               " をロックできません（No such file or directory）。"
               "ロックせずに起動します"));
  EXPECT_EQ(UnlockedEditMessage(dir.File("missing"), missing),
            Sj("フォルダ " + dir.File("missing") +
               " をロックできません（No such file or directory）。"
               "ロックできないときは編集しません"));
}

// The kernel's lock table: a flock on the file, not a waiter's line nor
// another kind of lock; by inode alone where no line names the device.
TEST(FlockTakerTest, FindsTheFlockOnTheFile) {
  const dev_t device = ::makedev(0xfe, 1);
  const char* const table =
      "1: POSIX  ADVISORY  WRITE 10 fe:01:77 0 EOF\n"
      "2: FLOCK  ADVISORY  WRITE 11 fe:02:77 0 EOF\n"
      "3: -> FLOCK  ADVISORY  WRITE 12 fe:01:77 0 EOF\n"
      "4: FLOCK  ADVISORY  WRITE 13 fe:01:77 0 EOF\n"
      "5: FLOCK  ADVISORY  WRITE 0 fe:01:78 0 EOF\n"
      "6: FLOCK  ADVISORY  WRITE 14 fe:03:79 0 EOF\n"
      "7: FLOCK  ADVISORY  WRITE 15 fe:04:79 0 EOF\n"
      "8: FLOCK  ADVISORY  WRITE 16 00:2d:81 0 EOF\n";
  EXPECT_EQ(FlockTaker(table, device, 77), 13);
  EXPECT_EQ(FlockTaker(table, device, 78), 0);
  EXPECT_EQ(FlockTaker(table, device, 81), 16);
  // Two processes by inode alone: neither is told.
  EXPECT_EQ(FlockTaker(table, device, 79), std::nullopt);
  EXPECT_EQ(FlockTaker(table, device, 80), std::nullopt);
  EXPECT_EQ(FlockTaker("", device, 77), std::nullopt);
}

}  // namespace
}  // namespace holvan
