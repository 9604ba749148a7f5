#include "system/system_platform.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "support/temp_dir.h"
#include "system/folder_lock.h"

namespace holvan::system {
namespace {

using testing::Sj;
using testing::TempDir;

// Started programs run on their own; wait a while for what they leave.
bool WaitForFile(const std::string& path) {
  const auto give_up =
      std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

int ThreadCount() {
  int threads = 0;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/self/task")) {
    static_cast<void>(task);
    ++threads;
  }
  return threads;
}

// True when a child of this process has ended without being collected;
// looked at without collecting it.
bool AZombieStays() {
  siginfo_t info{};
  return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid != 0;
}

// Where SIGTERM was handled: how often, and how often off the thread that
// starts the programs.
std::atomic<int> terms_handled{0};
std::atomic<int> terms_handled_elsewhere{0};
pthread_t starting_thread;

void CountTerm(int) {
  ++terms_handled;
  if (pthread_equal(pthread_self(), starting_thread) == 0) {
    ++terms_handled_elsewhere;
  }
}

class PlatformTest : public ::testing::Test {
 protected:
  SystemPlatform platform;
};
using StartProgramTest = PlatformTest;
using ClockTest = PlatformTest;
using DirectoryTest = PlatformTest;

TEST_F(StartProgramTest, SplitsLikeAShellButRunsNone) {
  TempDir dir;
  const std::string d = dir.path();
  platform.StartProgram("touch " + d + "/plain");
  platform.StartProgram("touch \"" + d + "/double q\" '" + d + "/single q'");
  platform.StartProgram(Sj("touch " + d + "/日記"));
  // No shell: ";" is an argument, and nothing is expanded.
  platform.StartProgram("touch " + d + "/a; " + d + "/$HOME " + d + "/*");
  for (const char* name :
       {"plain", "double q", "single q", "日記", "a;", "$HOME", "*"}) {
    EXPECT_TRUE(WaitForFile(dir.File(name))) << name;
  }
  EXPECT_FALSE(dir.Exists("a"));
}

TEST_F(StartProgramTest, PassesOverWhatCannotStart) {
  TempDir dir;
  const std::string d = dir.path();
  platform.StartProgram("touch \"" + d + "/unterminated");
  platform.StartProgram("holvan-no-such-program " + d + "/unknown");
  platform.StartProgram("");
  platform.StartProgram("   ");
  platform.StartProgram("touch " + d + "/after");
  ASSERT_TRUE(WaitForFile(dir.File("after")));
  EXPECT_FALSE(dir.Exists("unterminated"));
  EXPECT_FALSE(dir.Exists("\"unterminated"));
}

TEST_F(StartProgramTest, ChildHasItsOwnSessionAndNoOutput) {
  TempDir dir;
  const std::string d = dir.path();
  // Our stdout goes to a file while the child runs: nothing may reach it.
  const std::string captured = dir.File("stdout");
  std::fflush(stdout);
  const int saved = dup(STDOUT_FILENO);
  ASSERT_NE(freopen(captured.c_str(), "w", stdout), nullptr);
  platform.StartProgram(
      "sh -c 'echo leaked; echo leaked >&2; cut -d\" \" -f6 /proc/$$/stat > " +
      d + "/sid.tmp; mv " + d + "/sid.tmp " + d + "/sid'");
  const bool done = WaitForFile(dir.File("sid"));
  std::fflush(stdout);
  dup2(saved, STDOUT_FILENO);
  close(saved);
  ASSERT_TRUE(done);
  EXPECT_EQ(dir.ReadBytes("stdout"), "");
  const long child_session = std::stol(dir.ReadBytes("sid"));
  EXPECT_NE(child_session, static_cast<long>(getsid(0)));
}

TEST_F(StartProgramTest, ChildFeelsTheFileSizeLimitThatHolvanIgnores) {
  TempDir dir;
  const std::string d = dir.path();
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  platform.StartProgram("sh -c 'grep ^SigIgn: /proc/$$/status > " + d +
                        "/ign.tmp; mv " + d + "/ign.tmp " + d + "/ign'");
  std::signal(SIGXFSZ, previous);
  ASSERT_TRUE(WaitForFile(dir.File("ign")));
  const unsigned long ignored =
      std::stoul(dir.ReadBytes("ign").substr(7), nullptr, 16);
  EXPECT_EQ(ignored & (1ul << (SIGXFSZ - 1)), 0ul);
}

TEST_F(StartProgramTest, ChildGetsNoDescriptorNorBlockedSignalOfHolvans) {
  TempDir dir;
  const std::string d = dir.path();
  // A descriptor that exec would keep, and a signal this thread blocks.
  const int kept = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(kept, 3);
  sigset_t usr1;
  sigemptyset(&usr1);
  sigaddset(&usr1, SIGUSR1);
  sigset_t before;
  pthread_sigmask(SIG_BLOCK, &usr1, &before);
  // The shell reads its own mask with builtins only: while it starts another
  // program it blocks every signal for a moment.
  platform.StartProgram(
      "sh -c '{ test -e /proc/$$/fd/" + std::to_string(kept) +
      " && echo kept; while read -r field value; do [ $field = SigBlk: ] && "
      "echo $field $value; done < /proc/$$/status; } > " +
      d + "/seen.tmp; mv " + d + "/seen.tmp " + d + "/seen'");
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  ::close(kept);
  ASSERT_TRUE(WaitForFile(dir.File("seen")));
  EXPECT_EQ(dir.ReadBytes("seen"), "SigBlk: 0000000000000000\n");
}

TEST_F(StartProgramTest, AnEndedProgramLeavesNoZombie) {
  platform.StartProgram("true");
  // Looked at without collecting: the program is Holvan's child until
  // collected.
  const auto give_up =
      std::chrono::steady_clock::now() + std::chrono::seconds(10);
  siginfo_t info{};
  while (::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0) {
    ASSERT_LT(std::chrono::steady_clock::now(), give_up) << "a zombie stays";
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(StartProgramTest, AThousandQuickStartsLeaveNoZombieNorThread) {
  TempDir dir;
  // Found, but failing in exec: no start line, or no permission to run.
  dir.WriteBytes("no-start-line", "no start line\n");
  std::filesystem::permissions(dir.File("no-start-line"),
                               std::filesystem::perms::owner_all);
  dir.WriteBytes("not-executable", "#!/bin/sh\n");
  const int threads = ThreadCount();
  const std::string programs[] = {"true", "false", dir.File("no-start-line"),
                                  dir.File("not-executable"),
                                  dir.File("missing")};
  for (int i = 0; i < 1000; ++i) platform.StartProgram(programs[i % 5]);
  const auto give_up =
      std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (AZombieStays() || ThreadCount() > threads) {
    ASSERT_LT(std::chrono::steady_clock::now(), give_up)
        << "zombie: " << AZombieStays() << ", threads: " << ThreadCount()
        << " after " << threads;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  platform.StartProgram("touch " + dir.File("after"));
  EXPECT_TRUE(WaitForFile(dir.File("after")));
}

TEST_F(StartProgramTest, StartsGoOnWhileSigtermArrivesAndOnlyTheCallerTakesIt) {
  TempDir dir;
  starting_thread = pthread_self();
  terms_handled = terms_handled_elsewhere = 0;
  struct sigaction count = {};
  count.sa_handler = CountTerm;
  struct sigaction before = {};
  ASSERT_EQ(::sigaction(SIGTERM, &count, &before), 0);
  std::atomic<bool> stop{false};
  std::thread sender([&stop] {
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &term, nullptr);
    while (!stop) {
      ::kill(::getpid(), SIGTERM);
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  });
  for (int i = 0; i < 100; ++i) {
    platform.StartProgram("touch " + dir.File(std::to_string(i)));
  }
  stop = true;
  sender.join();
  ::sigaction(SIGTERM, &before, nullptr);
  for (int i = 0; i < 100; ++i) {
    EXPECT_TRUE(WaitForFile(dir.File(std::to_string(i)))) << i;
  }
  EXPECT_GT(terms_handled, 0);
  EXPECT_EQ(terms_handled_elsewhere, 0);
}

TEST_F(StartProgramTest, AProgramThatOutlivesTheLockDoesNotKeepIt) {
  TempDir dir;
  const std::string folder = dir.File("folder");
  std::filesystem::create_directory(folder);
  std::optional<FolderLock> lock = FolderLock::TryLock(folder);
  ASSERT_TRUE(lock->held());
  platform.StartProgram("sh -c 'echo $$ > " + dir.File("pid.tmp") + "; mv " +
                        dir.File("pid.tmp") + " " + dir.File("pid") +
                        "; exec sleep 30'");
  ASSERT_TRUE(WaitForFile(dir.File("pid")));
  lock.reset();
  EXPECT_TRUE(FolderLock::TryLock(folder).held());
  ::kill(std::stoi(dir.ReadBytes("pid")), SIGKILL);
}

TEST_F(ClockTest, UptimeIsPlausibleAndMonotonic) {
  std::ifstream proc("/proc/uptime");
  double seconds = 0;
  proc >> seconds;
  const uint64_t first = platform.UptimeMilliseconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const uint64_t second = platform.UptimeMilliseconds();
  EXPECT_GE(second, first + 20);
  // A container may report its own, shorter uptime; never a longer one.
  EXPECT_GE(static_cast<double>(first) + 2000, seconds * 1000);
  EXPECT_LT(first, 10ull * 366 * 86400 * 1000);
}

TEST_F(ClockTest, SeedIsTheUtcTimeOfDayInMilliseconds) {
  const std::time_t now = std::time(nullptr);
  const uint32_t seed = platform.StartSeed();
  EXPECT_LT(seed, 86400000u);
  const int64_t expected = static_cast<int64_t>(now % 86400) * 1000;
  int64_t gap = static_cast<int64_t>(seed) - expected;
  // Midnight may pass between the two readings.
  if (gap < -43200000) gap += 86400000;
  EXPECT_GE(gap, -1000);
  EXPECT_LT(gap, 3000);
}

TEST_F(ClockTest, LocalNowIsTheLocalClock) {
  const std::time_t before = std::time(nullptr);
  const Moment moment = platform.LocalNow();
  const std::time_t after = std::time(nullptr);
  std::tm local{};
  local.tm_year = moment.year - 1900;
  local.tm_mon = moment.month - 1;
  local.tm_mday = moment.day;
  local.tm_hour = moment.hour;
  local.tm_min = moment.minute;
  local.tm_sec = moment.second;
  local.tm_isdst = -1;
  const std::time_t read = std::mktime(&local);
  EXPECT_GE(read, before - 1);
  EXPECT_LE(read, after);
  EXPECT_GE(moment.millisecond, 0);
  EXPECT_LT(moment.millisecond, 1000);
}

TEST_F(DirectoryTest, WorkingFolderIsTheProcessCurrentOne) {
  EXPECT_EQ(platform.WorkingFolder(), std::filesystem::current_path().string());
}

TEST(PlatformOverridesTest, ReplaceTheSeedAndTheClockOnly) {
  const Moment now{2026, 12, 5, 15, 7, 9, 0};
  SystemPlatform platform({.start_seed = 7, .now = now});
  EXPECT_EQ(platform.StartSeed(), 7u);
  const Moment read = platform.LocalNow();
  EXPECT_EQ(read.year, 2026);
  EXPECT_EQ(read.second, 9);
  EXPECT_EQ(platform.WorkingFolder(), std::filesystem::current_path().string());
}

}  // namespace
}  // namespace holvan::system
