#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/waiting.h"
#include "term_process.h"

namespace holvan::testing {
namespace {

// chattr on a file; false where the file system or privileges refuse it.
bool Chattr(const std::string& flag, const std::string& path) {
  const std::string command = "chattr " + flag + " '" + path + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

TEST(CloseTest, UnwritableBrainIsReportedAndTheRunGoesOn) {
  TempDir dir;
  dir.WriteBytes("holv.dat", Profile(1, 0, 0));
  dir.WriteSj("brain.dat", "好き＝楽しい事\r\n");
  dir.WriteBytes("res.dat", "");
  const std::string brain = dir.File("brain.dat");
  if (!Chattr("+i", brain)) {
    GTEST_SKIP() << "chattr +i is not available here";
  }
  const TermRun run = RunTerm(dir, "こんにちは\n/quit\nおはよう\n",
                              SeedAndNow(SeedGiving({{3, 0}})));
  Chattr("-i", brain);

  const std::string message =
      "ﾌｧｲﾙ " +
      (std::filesystem::canonical(dir.path()) / "brain.dat").string() +
      " を作成できません.\n";
  EXPECT_EQ(run.status, 1);
  // The failed /quit, then the failed close at the end of input.
  EXPECT_EQ(run.err, message + message);
  EXPECT_EQ(run.out, kGreeting +
                         "太郎 > こんにちは\n"
                         "今日は天気はどうなんでしょう？\n"
                         "太郎 > おはよう\n"
                         "おはようございます 太郎さん\n");
  // holv.dat comes before brain.dat; res.dat after it is not written.
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Profile(2, 0, 0));
  EXPECT_EQ(dir.ReadBytes("brain.dat"), Sj("好き＝楽しい事\r\n"));
  EXPECT_EQ(dir.ReadBytes("res.dat"), "");
}

TEST(CloseTest, TerminationSignalSavesWithoutTheClosingBox) {
  TempDir dir;
  dir.WriteBytes("holv.dat", Profile(1, 0, 0));
  dir.WriteBytes("res.dat", "");
  int to_child[2];
  int from_child[2];
  ASSERT_EQ(pipe(to_child), 0);
  ASSERT_EQ(pipe(from_child), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (chdir(dir.path().c_str()) != 0) _exit(127);
    dup2(to_child[0], 0);
    dup2(from_child[1], 1);
    close(to_child[1]);
    close(from_child[0]);
    execl(HOLVAN_TERM_PATH, HOLVAN_TERM_PATH, "--seed", "0", "--now",
          std::string(kNow).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(to_child[0]);
  close(from_child[1]);
  // Once the echo of the line is out, the turn has been taken.
  const std::string line = "ごめん\n";
  ASSERT_EQ(write(to_child[1], line.data(), line.size()),
            static_cast<ssize_t>(line.size()));
  std::string out;
  char buffer[4096];
  while (out.find("太郎 > ごめん\n") == std::string::npos) {
    const ssize_t got = ReadWithin(from_child[0], buffer, sizeof buffer);
    ASSERT_GT(got, 0) << "no echo of the line within the deadline: " << out;
    out.append(buffer, static_cast<std::size_t>(got));
  }
  kill(pid, SIGTERM);
  const int status = ExitStatus(WaitForChild(pid));
  while (true) {
    const ssize_t got = ReadWithin(from_child[0], buffer, sizeof buffer);
    if (got <= 0) break;
    out.append(buffer, static_cast<std::size_t>(got));
  }
  close(to_child[1]);
  close(from_child[0]);
  EXPECT_EQ(status, 0) << "-1: killed by a signal or still running";
  EXPECT_EQ(out.find(kClosing), std::string::npos);
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Profile(2, 0, 0));
  EXPECT_EQ(dir.ReadBytes("res.dat"), Sj("ごめん\r\n"));
}

}  // namespace
}  // namespace holvan::testing
