// The process around the conversation, as a hostile user sets it up: closed
// standard descriptors, a file-size limit, a second Holvan on the folder,
// what killed saves left behind, and a PATH that leads into the data folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "faults.h"
#include "support/temp_dir.h"
#include "support/waiting.h"
#include "term_driver.h"

namespace holvan::testing {
namespace {

const std::string kProfile = Sj("太郎\r\n5\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
const std::string kNextProfile = Sj("太郎\r\n6\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");

std::string Reported(bool ok, const std::string& outcome) {
  return std::string(ok ? "ok" : "FAILED") + ": " + outcome;
}

std::string Canonical(const TempDir& dir) {
  return std::filesystem::canonical(dir.path()).string();
}

// Starts holvan-term in folder on input, its output in files beside the
// input; prepare runs in the child just before the program starts.
pid_t StartPrepared(const TempDir& dir, const std::string& folder,
                    const std::string& input,
                    const std::function<void()>& prepare) {
  WriteFile(dir.File("input"), input);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int in = ::open(dir.File("input").c_str(), O_RDONLY);
    const int out =
        ::open(dir.File("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err =
        ::open(dir.File("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || ::chdir(folder.c_str()) != 0 ||
        ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) {
      _exit(127);
    }
    for (int fd : {in, out, err}) ::close(fd);
    prepare();
    ::execl(HOLVAN_TERM_PATH, HOLVAN_TERM_PATH, "--seed", "1", "--now",
            "2026-12-05 15:07:09", static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

// Waits for the end of a run that StartPrepared started; one that has not
// ended in time is killed and gives status -1.
TermResult FinishPrepared(const TempDir& dir, pid_t pid) {
  TermResult result;
  result.status = ExitStatus(WaitForChild(pid));
  result.out = ReadFile(dir.File("out"));
  result.err = ReadFile(dir.File("err"));
  return result;
}

TermResult RunPrepared(const TempDir& dir, const std::string& folder,
                       const std::string& input,
                       const std::function<void()>& prepare) {
  return FinishPrepared(dir, StartPrepared(dir, folder, input, prepare));
}

// The id of a process that has ended.
pid_t GonePid() {
  const pid_t pid = ::fork();
  if (pid == 0) _exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

TEST(ProcessEdgesTest, ClosedStandardDescriptorsReadAsNothing) {
  bool all_ok = true;
  for (int closed = 0; closed <= 2; ++closed) {
    TempDir dir;
    WriteFile(dir.File("holv.dat"), kProfile);
    WriteFile(dir.File("res.dat"), "");
    const TermResult run = RunPrepared(dir, dir.path(), "猫が好き\n/quit\n",
                                       [closed] { ::close(closed); });
    const bool ok = run.status == 0 &&
                    ReadFile(dir.File("holv.dat")) == kNextProfile &&
                    ReadFile(dir.File("res.dat")) ==
                        (closed == 0 ? "" : Sj("猫が好き\r\n"));
    EXPECT_TRUE(ok) << "descriptor " << closed << " closed: status "
                    << run.status << "\n"
                    << run.err;
    all_ok = all_ok && ok;
  }
  ReportCase("bad input", "stdin, stdout or stderr closed (holvan-term <&-)",
             Reported(all_ok,
                      "closed input is the end of input: saved, status 0; "
                      "closed output is passed over"),
             "holv.dat and res.dat of each of 3 runs");
}

TEST(ProcessEdgesTest, AFileSizeLimitFailsTheSaveNotTheProgram) {
  TempDir dir;
  const std::string folder = Canonical(dir);
  std::string brain = Sj("好き＝楽しい事\r\n嫌い＝いやな事\r\n");
  for (int i = 0; i < 4000; ++i) {
    brain += Sj("言葉" + std::to_string(i) + "＝意味\r\n");
  }
  const std::string res = Sj("一言\r\n");
  WriteFile(dir.File("holv.dat"), kProfile);
  WriteFile(dir.File("brain.dat"), brain);
  WriteFile(dir.File("res.dat"), res);
  const std::string input = "猫とは動物だ\n";
  const rlimit limit = {brain.size() / 2, RLIM_INFINITY};
  const std::string error = "ﾌｧｲﾙ " + folder + "/brain.dat を作成できません.\n";

  // Limited from the start: the close fails and the run ends with status 1.
  TempDir io;
  const TermResult limited = RunPrepared(
      io, folder, input, [&limit] { ::setrlimit(RLIMIT_FSIZE, &limit); });
  EXPECT_EQ(limited.status, 1) << limited.err;
  EXPECT_EQ(limited.err, error);
  EXPECT_EQ(ReadFile(dir.File("holv.dat")), kNextProfile);
  EXPECT_TRUE(ReadFile(dir.File("brain.dat")) == brain);
  EXPECT_EQ(ReadFile(dir.File("res.dat")), res);
  EXPECT_EQ(FolderEntries(folder),
            (std::vector<std::string>{"brain.dat", "holv.dat", "res.dat"}));

  // Limited while it runs: once the limit goes, the next close saves all.
  // A program that the limit killed fails the test rather than ending it.
  std::signal(SIGPIPE, SIG_IGN);
  WriteFile(dir.File("holv.dat"), kProfile);
  TermDriver term(folder, FixedClock());
  ASSERT_EQ(::prlimit(term.pid(), RLIMIT_FSIZE, &limit, nullptr), 0);
  term.Send("猫とは動物だ");
  term.Send("/quit");
  EXPECT_TRUE(term.WaitErr(error)) << term.err();
  const rlimit none = {RLIM_INFINITY, RLIM_INFINITY};
  ASSERT_EQ(::prlimit(term.pid(), RLIMIT_FSIZE, &none, nullptr), 0);
  term.Send("/quit");
  EXPECT_EQ(term.Finish(), 0) << term.err();
  const std::string saved = ReadFile(dir.File("brain.dat"));
  EXPECT_TRUE(saved.ends_with(Sj("猫＝動物\r\n"))) << saved.size();
  EXPECT_EQ(ReadFile(dir.File("res.dat")), res + Sj("猫とは動物だ\r\n"));
  EXPECT_EQ(FolderEntries(folder),
            (std::vector<std::string>{"brain.dat", "holv.dat", "res.dat"}));
  ReportCase("save fault",
             "brain.dat: file-size limit below the save (ulimit -f)",
             Reported(!::testing::Test::HasFailure(),
                      "SIGXFSZ ignored; create error shown, old brain.dat "
                      "kept, no temporary; status 1 at the end of input, or "
                      "the next close saves once the limit is lifted"),
             "3 files twice, no stray file");
}

TEST(ProcessEdgesTest, ASecondHolvanOnTheFolderTouchesNothing) {
  TempDir dir;
  const std::string folder = Canonical(dir);
  const std::map<std::string, std::string> files = {
      {"holv.dat", kProfile},
      {"brain.dat", Sj("好き＝楽しい事\r\n嫌い＝いやな事\r\n")},
      {"res.dat", Sj("一言\r\n")},
      {"diary.dat", Sj("日記の行\r\n")}};
  for (const auto& [name, bytes] : files) WriteFile(dir.File(name), bytes);
  // An old time, so that any write would show.
  std::map<std::string, std::filesystem::file_time_type> times;
  for (const auto& [name, bytes] : files) {
    std::filesystem::last_write_time(
        dir.File(name),
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
    times[name] = std::filesystem::last_write_time(dir.File(name));
  }

  TermDriver first(folder, FixedClock());
  ASSERT_TRUE(first.WaitOut("どうも 太郎さん")) << first.out();
  TempDir io;
  const TermResult second =
      RunPrepared(io, folder, "猫とは動物だ\n日記\nセーブ\n/quit\n", [] {});
  EXPECT_EQ(second.status, 3);
  EXPECT_EQ(
      second.err,
      "Holvan はこのフォルダですでに起動しています（holvan-term、プロセス " +
          std::to_string(first.pid()) + "）\n");
  EXPECT_EQ(second.out, "");
  for (const auto& [name, bytes] : files) {
    EXPECT_EQ(ReadFile(dir.File(name)), bytes) << name;
    EXPECT_EQ(std::filesystem::last_write_time(dir.File(name)), times[name])
        << name;
  }
  EXPECT_EQ(FolderEntries(folder),
            (std::vector<std::string>{"brain.dat", "diary.dat", "holv.dat",
                                      "res.dat"}));
  // The first goes on as if alone, and its end frees the folder.
  first.Send("猫とは動物だ");
  EXPECT_EQ(first.Finish(), 0) << first.err();
  EXPECT_EQ(ReadFile(dir.File("holv.dat")), kNextProfile);
  const TermResult after = RunPrepared(io, folder, "", [] {});
  EXPECT_EQ(after.status, 0) << after.err;
  ReportCase("two copies", "a second holvan-term on a folder where one runs",
             Reported(!::testing::Test::HasFailure(),
                      "status 3 and one error line naming the first and its "
                      "process; nothing read or written; the first saves as "
                      "if alone and its end frees the folder"),
             "4 files byte for byte and their times");
}

TEST(ProcessEdgesTest, StaleTemporariesGoAndNothingElse) {
  TempDir dir;
  const std::string folder = Canonical(dir);
  WriteFile(dir.File("holv.dat"), kProfile);
  WriteFile(dir.File("res.dat"), "");
  WriteFile(dir.File("outside"), "outside");
  const std::string gone = std::to_string(GonePid());
  const std::vector<std::string> stale = {
      "holv.dat.tmp" + gone + "-1", "brain.dat.tmp" + gone + "-2147483647",
      "res.dat.tmp" + gone + "-0", "diary.dat.tmp" + gone + "-17",
      "dic.dat.tmp" + gone + "-1"};
  for (const std::string& name : stale) WriteFile(dir.File(name), "old");
  const std::vector<std::string> kept = {
      // A link or a folder by the exact name.
      "res.dat.tmp" + gone + "-5", "holv.dat.tmp" + gone + "-6",
      // One character more or less, or another form of the numbers.
      "holv.dat.tmp" + gone + "-1x", "xholv.dat.tmp" + gone + "-1",
      "holv.dat.tmp" + gone + "-", "holv.dat.tmp-1",
      "holv.dat.tmp" + gone + "-01", "holv.dat.tmp0" + gone + "-1",
      "holv.dat.tmp" + gone + "-2147483648", "holv.dat.tmp+" + gone + "-1",
      // Other files' and other programs' temporaries.
      "dic.txt.tmp" + gone + "-1", "holv.dat.tmp", "holv.dat~", "holv.dat.swp",
      ".holv.dat.tmp" + gone + "-1",
      // A save that may still be running.
      "brain.dat.tmp1-3"};
  std::filesystem::create_symlink(dir.File("outside"), dir.File(kept[0]));
  std::filesystem::create_directory(dir.File(kept[1]));
  for (size_t i = 2; i < kept.size(); ++i) WriteFile(dir.File(kept[i]), "x");

  const TermResult run = RunTermOnce(folder, "/quit\n");
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::string> expected = kept;
  expected.insert(expected.end(), {"holv.dat", "outside", "res.dat"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderEntries(folder), expected);
  EXPECT_EQ(ReadFile(dir.File("outside")), "outside");
  ReportCase("kill during save",
             "temporaries of killed saves planted beside look-alikes (a link "
             "and a folder by the same name, near names, other files')",
             Reported(!::testing::Test::HasFailure(),
                      "the " + std::to_string(stale.size()) +
                          " stale temporaries removed at start, the " +
                          std::to_string(kept.size()) + " look-alikes kept"),
             "the folder's entries");
}

// A run whose process number is that of an earlier run that was killed
// while saving: the temporaries it finds with its own number are stale too.
TEST(ProcessEdgesTest, TemporariesWithItsOwnProcessNumberGoToo) {
  TempDir dir;
  const std::string folder = Canonical(dir);
  WriteFile(dir.File("holv.dat"), kProfile);
  WriteFile(dir.File("res.dat"), "");
  TempDir io;
  const TermResult run = RunPrepared(io, folder, "/quit\n", [&folder] {
    const std::string pid = std::to_string(::getpid());
    for (const char* name : {"/holv.dat.tmp", "/brain.dat.tmp"}) {
      WriteFile(folder + name + pid + "-1", "old");
    }
  });
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FolderEntries(folder),
            (std::vector<std::string>{"holv.dat", "res.dat"}));
}

// With standard error closed, descriptor 2 is /dev/null while the program
// runs: a file opened later never takes its number and gets the error
// messages written into it.
TEST(ProcessEdgesTest, AClosedStandardErrorIsTheNullDeviceWhileItRuns) {
  TempDir dir;
  WriteFile(dir.File("holv.dat"), kProfile);
  TempDir io;
  int typing[2];
  ASSERT_EQ(::pipe2(typing, O_CLOEXEC), 0);
  const pid_t pid = StartPrepared(io, dir.path(), "", [&typing] {
    ::dup2(typing[0], STDIN_FILENO);
    ::close(STDERR_FILENO);
  });
  ::close(typing[0]);
  // The greeting comes once the folder is locked and the stores loaded.
  const bool greeted = WaitUntil([&io] {
    return ReadFile(io.File("out")).find("どうも 太郎さん") !=
           std::string::npos;
  });
  std::error_code error;
  const std::filesystem::path descriptor = std::filesystem::read_symlink(
      "/proc/" + std::to_string(pid) + "/fd/2", error);
  ::close(typing[1]);
  const TermResult run = FinishPrepared(io, pid);
  ASSERT_TRUE(greeted) << run.out;
  EXPECT_EQ(descriptor, "/dev/null") << error.message();
  EXPECT_EQ(run.status, 0);
}

// A folder that offers its own winmine.exe and touch, which record that
// they ran.
void PlantPrograms(const TempDir& dir) {
  for (const char* name : {"winmine.exe", "touch"}) {
    const std::string path = dir.File(name);
    WriteFile(path, std::string("#!/bin/sh\n: > \"") + dir.path() + "/ran-" +
                        name + "\"\n");
    ::chmod(path.c_str(), 0755);
  }
}

TEST(ProcessEdgesTest, ProgramsNeverComeFromTheDataFolder) {
  ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  bool all_ok = true;
  for (const std::optional<std::string>& path :
       {std::optional<std::string>(), std::optional<std::string>(""),
        std::optional<std::string>(":"),
        std::optional<std::string>(".:/usr/bin")}) {
    TempDir dir;
    WriteFile(dir.File("holv.dat"), kProfile);
    PlantPrograms(dir);
    TempDir io;
    const TermResult run = RunPrepared(
        io, dir.path(), "命令\n1\n命令\n4\ntouch started\n/quit\n", [&path] {
          if (path) {
            ::setenv("PATH", path->c_str(), 1);
          } else {
            ::unsetenv("PATH");
          }
        });
    // The real touch runs after winmine.exe was looked for, except where
    // PATH names no folder to look in. What the run started and left
    // running is this process's to collect: once all of it has ended, a
    // program from the folder has left its mark.
    const bool found = path != ":";
    EXPECT_TRUE(WaitUntil([] {
      return ::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD;
    })) << "a started program still runs";
    const bool ok = run.status == 0 && dir.Exists("started") == found &&
                    !dir.Exists("ran-winmine.exe") && !dir.Exists("ran-touch");
    EXPECT_TRUE(ok) << "PATH " << (path ? "\"" + *path + "\"" : "unset");
    all_ok = all_ok && ok;
  }
  ::prctl(PR_SET_CHILD_SUBREAPER, 0);
  ReportCase("security",
             "winmine.exe and touch in the data folder; PATH unset, \"\", "
             "\":\" and \".:/usr/bin\"",
             Reported(all_ok,
                      "the folder's programs never run; touch is found in "
                      "/usr/bin, except with \":\", which names no folder"),
             "what each program leaves, 4 runs");
}

}  // namespace
}  // namespace holvan::testing
