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
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "os/descriptors.h"
#include "os/folder_lock.h"
#include "os/signal_bridge.h"
#include "support/temp_dir.h"
#include "support/waiting.h"

namespace holvan::system {
namespace {

using testing::Sj;
using testing::TempDir;
using testing::WaitUntil;

// Started programs run on their own; wait for what they leave.
bool WaitForFile(const std::string& path) {
  return WaitUntil([&path] { return std::filesystem::exists(path); });
}

// A field of a process's /proc/<pid>/status, such as "SigIgn:"; "" when
// there is none.
std::string StatusField(pid_t pid, std::string_view field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(field)) return line.substr(field.size());
  }
  return "";
}

uint64_t Bit(int sig) { return uint64_t{1} << (sig - 1); }

// The child of this process that runs the program with these arguments; 0
// when none does.
pid_t ChildRunning(const std::vector<std::string>& arguments) {
  std::string command_line;
  for (const std::string& argument : arguments) {
    command_line += argument + '\0';
  }
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream file(entry.path() / "cmdline");
    const std::string read(std::istreambuf_iterator<char>(file), {});
    const pid_t pid = std::stoi(name);
    if (read == command_line &&
        std::stoi(StatusField(pid, "PPid:")) == ::getpid()) {
      return pid;
    }
  }
  return 0;
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

// The program gets /dev/null as its standard descriptors and nothing else of
// Holvan's: no other descriptor, none of the signals that Holvan blocks,
// and SIGXFSZ, which Holvan ignores, and SIGPIPE, which its signal bridge
// drops, at their default.
TEST_F(StartProgramTest, ChildGetsNoDescriptorNorSignalSettingOfHolvans) {
  TempDir dir;
  const std::string d = dir.path();
  // Descriptors that exec would keep: one at 3, the first after the
  // standard ones, and one far above it.
  const Fd folder(::open(d.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  const Fd was_three(::fcntl(3, F_DUPFD_CLOEXEC, 10));
  ASSERT_EQ(::dup2(folder.get(), 3), 3);
  ASSERT_EQ(::fcntl(3, F_SETFD, 0), 0);
  const Fd far(::fcntl(folder.get(), F_DUPFD, 40));
  sigset_t usr1;
  sigemptyset(&usr1);
  sigaddset(&usr1, SIGUSR1);
  sigset_t mask_before;
  pthread_sigmask(SIG_BLOCK, &usr1, &mask_before);
  const auto xfsz_before = std::signal(SIGXFSZ, SIG_IGN);
  {
    const SignalBridge bridge({SIGTERM});
    platform.StartProgram("sleep 59.5");
  }
  std::signal(SIGXFSZ, xfsz_before);
  pthread_sigmask(SIG_SETMASK, &mask_before, nullptr);
  if (was_three.ok()) {
    ::dup2(was_three.get(), 3);
  } else {
    ::close(3);
  }

  pid_t pid = 0;
  ASSERT_TRUE(WaitUntil([&pid] {
    pid = ChildRunning({"sleep", "59.5"});
    return pid != 0;
  }));
  const std::string proc = "/proc/" + std::to_string(pid);
  // sleep opens files of its own while it starts (the locale's), so its
  // descriptors are read until they settle; one it was given stays open.
  const std::map<std::string, std::string> standard_only{
      {"0", "/dev/null"}, {"1", "/dev/null"}, {"2", "/dev/null"}};
  std::map<std::string, std::string> descriptors;
  WaitUntil([&] {
    descriptors.clear();
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(proc + "/fd", error)) {
      descriptors[entry.path().filename()] =
          std::filesystem::read_symlink(entry.path(), error);
    }
    return descriptors == standard_only;
  });
  const uint64_t blocked =
      std::stoull(StatusField(pid, "SigBlk:"), nullptr, 16);
  const uint64_t ignored =
      std::stoull(StatusField(pid, "SigIgn:"), nullptr, 16);
  ::kill(pid, SIGKILL);
  EXPECT_EQ(descriptors, standard_only);
  EXPECT_EQ(blocked, 0u);
  EXPECT_EQ(ignored & Bit(SIGXFSZ), 0u);
  EXPECT_EQ(ignored & Bit(SIGPIPE), 0u);
}

TEST_F(StartProgramTest, AnEndedProgramLeavesNoZombie) {
  platform.StartProgram("true");
  // Looked at without collecting: the program is Holvan's child until
  // collected.
  EXPECT_TRUE(WaitUntil([] {
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0 &&
           errno == ECHILD;
  })) << "a zombie stays";
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
  EXPECT_TRUE(WaitUntil([threads] {
    return !AZombieStays() && ThreadCount() <= threads;
  })) << "zombie: "
      << AZombieStays() << ", threads: " << ThreadCount() << " after "
      << threads;
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
  const auto milliseconds_of_day = [] {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<uint32_t>(now.tv_sec % 86400 * 1000 +
                                 now.tv_nsec / 1000000);
  };
  // Read between two readings of the clock, however long the machine pauses.
  const uint32_t before = milliseconds_of_day();
  const uint32_t seed = platform.StartSeed();
  const uint32_t after = milliseconds_of_day();
  EXPECT_LT(seed, 86400000u);
  // Midnight may pass between the readings.
  EXPECT_TRUE(before <= after ? before <= seed && seed <= after
                              : before <= seed || seed <= after)
      << before << " " << seed << " " << after;
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
