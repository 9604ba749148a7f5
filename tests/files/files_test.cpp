#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "files/read_file.h"
#include "files/temporaries.h"
#include "files/text_lines.h"
#include "support/file_faults.h"
#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::FileAttribute;
using testing::Sj;
using testing::SmallDisk;
using testing::TempDir;

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

template <typename Action>
NarrowText MessageOf(Action action) {
  try {
    action();
  } catch (const Error& error) {
    return error.message();
  }
  return "(no error)";
}

TEST(FilesTest, FileExistsMeansARegularFileWhateverItsTime) {
  TempDir dir;
  dir.WriteBytes("old.dat", "x");
  const std::string old_file = dir.File("old.dat");
  for (time_t when : {time_t{0}, time_t{302400000}, time_t{7258118400}}) {
    struct timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, old_file.c_str(), times, 0), 0);
    EXPECT_TRUE(FileExists(old_file)) << when;
  }
  EXPECT_FALSE(FileExists(dir.File("missing.dat")));
  EXPECT_FALSE(FileExists(dir.path()));
  EXPECT_FALSE(FileExists(""));
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(FileExists(dir.File("fifo")));
  ASSERT_EQ(::symlink("old.dat", dir.File("link.dat").c_str()), 0);
  EXPECT_TRUE(FileExists(dir.File("link.dat")));
  ASSERT_EQ(::symlink("none.dat", dir.File("dangling.dat").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("dangling.dat")));
}

// truncate -s 200G: refused before anything is allocated for it, with the
// error the caller names; the lines it was to replace stay.
TEST(FilesTest, AFileLargerThanRamIsRefusedWithTheNamedError) {
  TempDir dir;
  const std::string huge = dir.File("huge.dat");
  dir.WriteBytes("huge.dat", "");
  ASSERT_EQ(::truncate(huge.c_str(), off_t{200} << 30), 0);
  EXPECT_EQ(MessageOf([&] { ReadFileBytes(huge); }),
            Sj("ﾌｧｲﾙ " + huge + " は開けません"));
  TextLines lines;
  lines.SetText("kept");
  EXPECT_EQ(
      MessageOf([&] { lines.LoadFromFile(huge, TooLarge::kCapacityError); }),
      Sj("文字列の大きさが ﾒﾓ の制限を越えました"));
  EXPECT_EQ(lines.Text(), "kept");
}

TEST(FilesTest, AFifoInAFilesPlaceNeitherHangsNorPassesForAFile) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("fifo.dat").c_str(), 0600), 0);
  EXPECT_THROW(ReadFileBytes(dir.File("fifo.dat")), Error);
  EXPECT_THROW(SaveFileAtomically(dir.File("fifo.dat"), "x"), Error);
}

TEST(FilesTest, SaveKeepsModeAndOwnerAndCreatesNewFilesNormally) {
  TempDir dir;
  dir.WriteBytes("brain.dat", "old");
  const std::string path = dir.File("brain.dat");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(path.c_str(), 1234, 4321), 0);
  }
  SaveFileAtomically(path, "new");
  EXPECT_EQ(dir.ReadBytes("brain.dat"), "new");
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 4321u);
  }

  mode_t old_mask = ::umask(022);
  SaveFileAtomically(dir.File("fresh.dat"), "");
  ::umask(old_mask);
  ASSERT_EQ(::stat(dir.File("fresh.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  EXPECT_EQ(st.st_size, 0);
  EXPECT_EQ(Names(dir.path()),
            (std::set<std::string>{"brain.dat", "fresh.dat"}));
}

TEST(FilesTest, SaveWritesThroughSymbolicLinks) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("real"));
  dir.WriteBytes("real/res.dat", "old");
  ASSERT_EQ(::symlink("real/res.dat", dir.File("hop.dat").c_str()), 0);
  ASSERT_EQ(::symlink(dir.File("hop.dat").c_str(), dir.File("res.dat").c_str()),
            0);
  SaveFileAtomically(dir.File("res.dat"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("res.dat")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("hop.dat")));
  EXPECT_EQ(dir.ReadBytes("real/res.dat"), "new");
  EXPECT_EQ(Names(dir.File("real")), (std::set<std::string>{"res.dat"}));

  // A link to a file not yet there creates that file.
  ASSERT_EQ(::symlink("real/later.dat", dir.File("later.dat").c_str()), 0);
  SaveFileAtomically(dir.File("later.dat"), "made");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("later.dat")));
  EXPECT_EQ(dir.ReadBytes("real/later.dat"), "made");
}

TEST(FilesTest, ATargetThatCannotBeWrittenRaisesTheCreateError) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("brain.dat"));
  const NarrowText expected =
      Sj("ﾌｧｲﾙ " + dir.File("brain.dat") + " を作成できません");
  EXPECT_EQ(MessageOf([&] { SaveFileAtomically(dir.File("brain.dat"), "x"); }),
            expected);
  EXPECT_EQ(
      MessageOf([&] { SaveFileAtomically(dir.File("no/such/file.dat"), "x"); }),
      Sj("ﾌｧｲﾙ " + dir.File("no/such/file.dat") + " を作成できません"));

  ASSERT_EQ(::symlink("loop.dat", dir.File("loop.dat").c_str()), 0);
  EXPECT_THROW(SaveFileAtomically(dir.File("loop.dat"), "x"), Error);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("loop.dat")));
  ASSERT_TRUE(std::filesystem::remove(dir.File("loop.dat")));

  dir.WriteBytes("res.dat", "old\r\n");
  {
    FileAttribute locked(dir.File("res.dat"), 'i');
    if (!locked.ok()) GTEST_SKIP() << "chattr +i is not available here";
    EXPECT_EQ(
        MessageOf([&] { SaveFileAtomically(dir.File("res.dat"), "new"); }),
        Sj("ﾌｧｲﾙ " + dir.File("res.dat") + " を作成できません"));
    EXPECT_EQ(dir.ReadBytes("res.dat"), "old\r\n");
  }
  {
    // An append-only file cannot be rewritten either.
    FileAttribute append_only(dir.File("res.dat"), 'a');
    ASSERT_TRUE(append_only.ok());
    EXPECT_THROW(SaveFileAtomically(dir.File("res.dat"), "new"), Error);
  }
  {
    // A folder where no temporary file can be made.
    FileAttribute folder(dir.path(), 'i');
    ASSERT_TRUE(folder.ok());
    EXPECT_THROW(SaveFileAtomically(dir.File("res.dat"), "new"), Error);
  }
  EXPECT_EQ(dir.ReadBytes("res.dat"), "old\r\n");
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"brain.dat", "res.dat"}));
}

TEST(FilesTest, AFullDiskPartWayLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  const std::string disk = dir.File("disk");
  SmallDisk small(disk, 64 << 10);
  if (!small.ok()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  const std::string path = disk + "/brain.dat";
  const std::string old = "key\r\nvalue\r\n";
  dir.WriteBytes("disk/brain.dat", old);

  EXPECT_EQ(MessageOf([&] {
              AtomicFileWriter writer(path);
              for (int i = 0; i < 2000; ++i) {
                writer.Append(std::string(100, 'k'));
                writer.Append("\r\n");
              }
              writer.Commit();
            }),
            Sj("ｽﾄﾘｰﾑへの書き込みｴﾗｰ"));
  EXPECT_EQ(dir.ReadBytes("disk/brain.dat"), old);
  EXPECT_EQ(Names(disk), (std::set<std::string>{"brain.dat"}));

  // What fits is still written.
  SaveFileAtomically(path, "fits\r\n");
  EXPECT_EQ(dir.ReadBytes("disk/brain.dat"), "fits\r\n");
  EXPECT_EQ(Names(disk), (std::set<std::string>{"brain.dat"}));
}

// A save killed while it writes leaves nothing beside the file where the
// folder takes unnamed temporaries: no name for the next start to sweep.
TEST(FilesTest, ASaveKilledWhileWritingLeavesNoName) {
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
