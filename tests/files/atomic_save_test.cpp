#include "files/atomic_save.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::TempDir;

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// A save killed while it writes leaves nothing beside the file where the
// folder takes unnamed temporaries: no name for the next start to sweep.
TEST(AtomicSaveTest, ASaveKilledWhileWritingLeavesNoName) {
  TempDir dir;
  const int probe = ::open(dir.path().c_str(), O_WRONLY | O_TMPFILE, 0600);
  if (probe < 0) GTEST_SKIP() << "this file system takes no O_TMPFILE";
  ::close(probe);
  dir.WriteBytes("brain.dat", "old");
  int written[2];
  ASSERT_EQ(::pipe(written), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::close(written[0]);
    try {
      AtomicFileWriter writer(dir.File("brain.dat"));
      // Past the writer's buffer: some of it is in the temporary.
      writer.Append(std::string(3 << 20, 'x'));
      if (::write(written[1], "w", 1) != 1) ::_exit(1);
      ::pause();
    } catch (...) {
    }
    ::_exit(1);
  }
  ::close(written[1]);
  char byte = 0;
  const bool wrote = ::read(written[0], &byte, 1) == 1;
  ::close(written[0]);
  const std::set<std::string> while_writing = Names(dir.path());
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  ASSERT_TRUE(wrote) << "the save in the child failed";
  EXPECT_EQ(while_writing, std::set<std::string>{"brain.dat"});
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"brain.dat"});
  EXPECT_EQ(dir.ReadBytes("brain.dat"), "old");
}

}  // namespace
}  // namespace holvan
