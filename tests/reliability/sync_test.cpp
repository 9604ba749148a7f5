// Every save reaches the disk whole: the temporary's data is synced before
// the rename puts it in the file's place, and the folder, which holds the
// rename, after it. Traced with strace.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"
#include "support/temp_dir.h"
#include "term_driver.h"

namespace holvan::testing {
namespace {

// One call of a trace: a sync of the file at path, or a rename of path to
// target.
struct Call {
  std::string path;
  std::optional<std::string> target;
};

// The text between the first open at or after from in line and the next
// close, with from moved past the close; nothing when line has no such pair.
std::optional<std::string> Enclosed(std::string_view line, std::size_t& from,
                                    char open, char close) {
  const std::size_t start = line.find(open, from);
  const std::size_t end =
      start == std::string_view::npos ? start : line.find(close, start + 1);
  if (end == std::string_view::npos) return std::nullopt;
  from = end + 1;
  return std::string(line.substr(start + 1, end - start - 1));
}

// The syncs and renames of a trace made with strace -f -y, in order: a
// descriptor shows its file in <...>; a rename's two paths are its first two
// quoted arguments (renameat's folders, unquoted, stand before each). A
// temporary made without a name is synced through its descriptor before
// linkat() names it through /proc: the name then counts as synced.
std::vector<Call> SyncsAndRenames(const std::string& trace) {
  std::vector<Call> calls;
  // The descriptors synced and not closed since.
  std::set<std::string> synced;
  std::istringstream lines(trace);
  std::string line;
  while (std::getline(lines, line)) {
    // "PID name(arguments) = result".
    std::size_t at = line.find('(');
    if (at == std::string::npos) continue;
    const std::size_t space = line.rfind(' ', at);
    const std::size_t start = space == std::string::npos ? 0 : space + 1;
    const std::string name = line.substr(start, at - start);
    const std::string descriptor =
        line.substr(at + 1, line.find('<', at) - at - 1);
    if (name == "fsync" || name == "fdatasync") {
      if (std::optional<std::string> path = Enclosed(line, at, '<', '>')) {
        calls.push_back({*path, std::nullopt});
        synced.insert(descriptor);
      }
    } else if (name == "rename" || name == "renameat" || name == "renameat2") {
      std::optional<std::string> from = Enclosed(line, at, '"', '"');
      std::optional<std::string> to = Enclosed(line, at, '"', '"');
      if (from && to) calls.push_back({*from, *to});
    } else if (name == "linkat") {
      std::optional<std::string> from = Enclosed(line, at, '"', '"');
      std::optional<std::string> to = Enclosed(line, at, '"', '"');
      const std::string_view proc = "/proc/self/fd/";
      if (from && to && from->starts_with(proc) &&
          synced.contains(from->substr(proc.size()))) {
        calls.push_back({*to, std::nullopt});
      }
    } else if (name == "close") {
      synced.erase(descriptor);
    }
  }
  return calls;
}

TEST(SyncTest, TheCloseAndTheDiarySyncEachFileAndItsFolder) {
  if (!RunQuietly({"strace", "-o", "/dev/null", "true"})) {
    GTEST_SKIP() << "strace is not available";
  }
  TempDir dir;
  const std::string folder = std::filesystem::canonical(dir.path()).string();
  WriteFile(folder + "/holv.dat", Sj("太郎\r\n5\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
  WriteFile(folder + "/brain.dat", Sj("猫＝動物\r\n"));
  WriteFile(folder + "/res.dat", "");
  const std::string trace = TracedRun(
      folder, "犬とは動物だ\n日記\n今日\nセーブ\n/quit\n",
      {"-y", "-e",
       "trace=fsync,fdatasync,rename,renameat,renameat2,linkat,close"});
  const std::vector<Call> calls = SyncsAndRenames(trace);

  std::set<std::string> saved;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (!calls[i].target) continue;
    const std::string& temporary = calls[i].path;
    const std::string& file = *calls[i].target;
    saved.insert(std::filesystem::path(file).filename());
    bool data_synced = false;
    for (std::size_t j = 0; j < i; ++j) {
      data_synced = data_synced || calls[j].path == temporary;
    }
    // After the rename and before the next one.
    bool folder_synced = false;
    for (std::size_t j = i + 1; j < calls.size() && !calls[j].target; ++j) {
      folder_synced = folder_synced || calls[j].path == folder;
    }
    EXPECT_TRUE(data_synced) << temporary << " was not synced before "
                             << "its rename to " << file;
    EXPECT_TRUE(folder_synced) << "the folder was not synced after the "
                               << "rename to " << file;
  }
  EXPECT_EQ(saved, (std::set<std::string>{"brain.dat", "diary.dat", "holv.dat",
                                          "res.dat"}))
      << trace;
}

}  // namespace
}  // namespace holvan::testing
