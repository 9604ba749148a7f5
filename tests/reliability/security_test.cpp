// Security: a run writes nothing outside its folder, creates its temporaries
// exclusively beside their targets (without a name until linkat() gives them
// one, which replaces nothing, or by an open that is exclusive and refuses
// links), starts no program on its own, and a hostile "dic.dat" is only ever
// read. Traced with strace.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "faults.h"
#include "support/temp_dir.h"
#include "term_driver.h"

namespace holvan::testing {
namespace {

// The quoted paths of a trace line.
std::vector<std::string> Paths(const std::string& line) {
  std::vector<std::string> paths;
  size_t at = 0;
  while ((at = line.find('"', at)) != std::string::npos) {
    const size_t end = line.find('"', at + 1);
    if (end == std::string::npos) break;
    paths.push_back(line.substr(at + 1, end - at - 1));
    at = end + 1;
  }
  return paths;
}

// A call that can change the file system: an open for writing or creating,
// or one of the calls that add, remove or change entries.
bool Writes(const std::string& line) {
  for (const char* flag : {"O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC"}) {
    if (line.find(flag) != std::string::npos) return true;
  }
  const size_t name = line.find_first_not_of("0123456789 ");
  if (name == std::string::npos) return false;
  for (const char* call : {"rename", "unlink", "mkdir", "rmdir", "symlink",
                           "link", "chmod", "fchmodat", "chown", "lchown",
                           "fchownat", "truncate", "utime", "mknod"}) {
    if (line.compare(name, std::char_traits<char>::length(call), call) == 0) {
      return true;
    }
  }
  return false;
}

TEST(SecurityTest, WritesOnlyInItsFolderAndAHostileDictionaryIsOnlyRead) {
  if (!RunQuietly({"strace", "-o", "/dev/null", "true"})) {
    ReportCase("security", "writes only in its folder", "skipped",
               "strace unavailable");
    GTEST_SKIP() << "strace is not available";
  }
  TempDir dir;
  const std::string folder =
      std::filesystem::canonical(dir.path()).string() + "/work";
  std::filesystem::create_directory(folder);
  WriteFile(folder + "/holv.dat", Sj("太郎\r\n5\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
  WriteFile(folder + "/brain.dat", Sj("猫＝動物\r\n"));
  WriteFile(folder + "/res.dat", "");
  // Shell syntax, format directives, paths, program names and commands the
  // menus know, in keys and values.
  const std::string hostile =
      Sj("$(touch pwned)*`touch pwned`\r\n"
         "%s%s%n*%x%n%p\r\n"
         "../../etc/passwd*/etc/shadow\r\n"
         "calc.exe*notepad.exe\r\n"
         "命令*1\r\n"
         "東京*; rm -rf ~ && touch pwned\r\n"
         "日記*セーブ\r\n");
  WriteFile(folder + "/dic.dat", hostile);
  std::string input =
      "東京は？\n$(touch pwned)は？\n%s%s%nは？\n../../etc/passwdは？\n"
      "calc.exeは？\n命令は？\n日記は？\n";
  for (int i = 0; i < 40; ++i) input += "/tick\n";
  input += "日記\n今日\nセーブ\n/quit\n";
  const std::string trace =
      TracedRun(folder, input, {"-e", "trace=%file,execve"});
  ASSERT_FALSE(trace.empty());

  int writes = 0;
  int programs = 0;
  int temporaries = 0;
  bool outside = false;
  bool dictionary_written = false;
  std::istringstream lines(trace);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.find("execve(") != std::string::npos) ++programs;
    if (!Writes(line)) continue;
    ++writes;
    std::vector<std::string> paths = Paths(line);
    // A linkat() writes only its new name; its source may be the descriptor
    // of a temporary made without a name.
    const bool link = line.find("linkat(") != std::string::npos;
    if (link && !paths.empty() && paths.front().starts_with("/proc/self/fd/")) {
      paths.erase(paths.begin());
    }
    for (const std::string& path : paths) {
      // A temporary without a name is made in the folder that is opened.
      const bool made_in_folder =
          path == folder && line.find("O_TMPFILE") != std::string::npos;
      if ((path.rfind(folder + "/", 0) != 0 && !made_in_folder) ||
          path.find("/..") != std::string::npos) {
        outside = true;
        ADD_FAILURE() << "outside the folder: " << line;
      }
      if (path == folder + "/dic.dat" ||
          path.rfind(folder + "/dic.dat.", 0) == 0) {
        dictionary_written = true;
        ADD_FAILURE() << "dic.dat written: " << line;
      }
    }
    if (line.find("O_CREAT") != std::string::npos) {
      ++temporaries;
      EXPECT_NE(line.find("O_EXCL"), std::string::npos) << line;
      EXPECT_NE(line.find("O_NOFOLLOW"), std::string::npos) << line;
      EXPECT_NE(line.find(".tmp"), std::string::npos) << line;
    }
    if (link) {
      ++temporaries;
      EXPECT_NE(line.find(".tmp"), std::string::npos) << line;
    }
  }
  // The program itself is the one execve.
  EXPECT_EQ(programs, 1);
  // The diary, the profile, the brain and the phrase log.
  EXPECT_EQ(temporaries, 4);
  EXPECT_EQ(ReadFile(folder + "/dic.dat"), hostile);
  std::vector<std::string> entries = FolderEntries(folder);
  EXPECT_EQ(entries,
            (std::vector<std::string>{"brain.dat", "diary.dat", "dic.dat",
                                      "holv.dat", "res.dat"}));
  EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"work"}));
  const bool ok = !outside && !dictionary_written && programs == 1 &&
                  temporaries == 4 && !::testing::Test::HasFailure();
  ReportCase("security",
             "a run with a hostile dic.dat (shell syntax, format directives, "
             "paths, program names), traced",
             std::string(ok ? "ok" : "FAILED") + ": " + std::to_string(writes) +
                 " writing calls, all inside the folder; every temporary "
                 "beside its file, unnamed until a linkat that replaces "
                 "nothing, or O_EXCL and O_NOFOLLOW; no program started; "
                 "dic.dat only read",
             "trace of every file call + the folder's entries");
}

// Escape sequences in a data file or a typed line never reach the terminal.
TEST(SecurityTest, ControlCharactersDoNotReachTheTerminal) {
  TempDir dir;
  WriteFile(dir.File("holv.dat"), Sj("太郎\r\n5\r\n"));
  const std::string escapes = "\x1b]0;pwned\x07\x1b[2J\x1b[31m\r\x08\x7f\x9b";
  WriteFile(dir.File("dic.dat"), Sj("東京*") + escapes + "\r\n");
  const TermResult run =
      RunTermOnce(dir.path(), "東京は？\n\x1b[31mred\x07\n/quit\n");
  bool clean = run.status == 0;
  for (char c : run.out + run.err) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F) {
      clean = false;
    }
  }
  EXPECT_TRUE(clean) << run.out;
  EXPECT_NE(run.out.find("東京 とは \xEF\xBF\xBD]0;pwned"), std::string::npos)
      << run.out;
  ReportCase("security",
             "escape sequences in dic.dat and in a typed line (holvan-term)",
             std::string(clean ? "ok" : "FAILED") +
                 ": shown as U+FFFD, never sent to the terminal",
             "every byte of the output");
}

}  // namespace
}  // namespace holvan::testing
