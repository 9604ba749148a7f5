#include "system/folder_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

#include "support/temp_dir.h"

namespace holvan::system {
namespace {

using testing::TempDir;

// A child process that tries the lock, reports the state it got on a pipe,
// then waits to be killed holding what it took.
class OtherProcess {
 public:
  explicit OtherProcess(const std::string& folder) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      const FolderLock lock = FolderLock::TryLock(folder);
      const char state = static_cast<char>(lock.state());
      if (::write(fds[1], &state, 1) != 1) _exit(1);
      ::pause();
      _exit(0);
    }
    ::close(fds[1]);
    char state = -1;
    if (::read(fds[0], &state, 1) == 1) state_ = static_cast<int>(state);
    ::close(fds[0]);
  }
  ~OtherProcess() { Kill(); }

  /// The state the child got, as an int; -1 when it reported none.
  int state() const { return state_; }
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int state_ = -1;
};

int AsInt(FolderLock::State state) { return static_cast<int>(state); }

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

}  // namespace
}  // namespace holvan::system
