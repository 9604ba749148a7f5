#include "system/system_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "support/temp_dir.h"

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
