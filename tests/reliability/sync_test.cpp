// Every save reaches the disk whole: the temporary's data is synced before
// the rename puts it in the file's place, and the folder, which holds the
// rename, after it. Traced with strace.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
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

// The syncs and renames of a trace made with strace -y, in order. A
// temporary made without a name is synced through its descriptor before
// linkat() names it through /proc: the name then counts as synced.
std::vector<Call> SyncsAndRenames(const std::string& trace) {
  static const std::regex sync(R"(f(?:data)?sync\((\d+)<([^>]*)>)");
  // rename("from", "to"), or renameat with a folder before each path.
  static const std::regex rename(
      R"re(rename(?:at2?)?\((?:[^"]*, )?"([^"]*)", (?:[^"]*, )?"([^"]*)")re");
  static const std::regex link(
      R"re(linkat\([^,]*, "/proc/self/fd/(\d+)", [^,]*, "([^"]*)")re");
  static const std::regex close(R"(close\((\d+)<)");
  std::vector<Call> calls;
  // The descriptors synced and not closed since.
  std::set<std::string> synced;
  std::istringstream lines(trace);
  std::string line;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (std::regex_search(line, match, sync)) {
      calls.push_back({match[2], std::nullopt});
      synced.insert(match[1]);
    } else if (std::regex_search(line, match, rename)) {
      calls.push_back({match[1], match[2]});
    } else if (std::regex_search(line, match, link)) {
      if (synced.contains(match[1])) calls.push_back({match[2], std::nullopt});
    } else if (std::regex_search(line, match, close)) {
      synced.erase(match[1]);
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
