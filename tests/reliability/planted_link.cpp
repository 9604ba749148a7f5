// Temporary files are created exclusively and never through a link: this
// executable wraps open() and linkat() (linked with --wrap) to plant a
// symbolic link at the very name a save is about to create or give its
// unnamed temporary, pointing at a file outside the folder. Each case runs
// twice: with unnamed temporaries, and with open() refusing them as some file
// systems do, where saves name their temporaries from the start.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <optional>
#include <string>
#include <vector>

#include "conversation/companion.h"
#include "errors/error.h"
#include "faults.h"
#include "files/atomic_save.h"
#include "files/read_file.h"
#include "files/temporaries.h"
#include "support/companion_in_folder.h"

extern "C" int __real_open(const char* path, int flags, ...);
extern "C" int __real_linkat(int from_folder, const char* from, int to_folder,
                             const char* to, int flags);

namespace {

// What the wrapper does and saw.
struct Planting {
  int links_left = 0;
  std::string victim;
  bool refuse_unnamed = false;
  std::vector<std::string> created;
  // The flags of open(), or nothing for a name that linkat() gave.
  std::vector<std::optional<int>> flags;
};
Planting planting;

// Plants the link at path when links are left to plant.
void Plant(const char* path, std::optional<int> flags) {
  planting.created.push_back(path);
  planting.flags.push_back(flags);
  // Counted only once planted.
  if (planting.links_left > 0 &&
      ::symlink(planting.victim.c_str(), path) == 0) {
    --planting.links_left;
  }
}

}  // namespace

extern "C" int __wrap_open(const char* path, int flags, ...) {
  mode_t mode = 0;
  const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
  if ((flags & O_CREAT) != 0 || unnamed) {
    va_list args;
    va_start(args, flags);
    mode = static_cast<mode_t>(va_arg(args, int));
    va_end(args);
  }
  if (unnamed && planting.refuse_unnamed) {
    errno = EOPNOTSUPP;
    return -1;
  }
  if ((flags & O_CREAT) != 0) Plant(path, flags);
  return __real_open(path, flags, mode);
}

extern "C" int __wrap_linkat(int from_folder, const char* from, int to_folder,
                             const char* to, int flags) {
  Plant(to, std::nullopt);
  return __real_linkat(from_folder, from, to_folder, to, flags);
}

namespace holvan::testing {
namespace {

std::string Folder(const std::string& path) {
  return path.substr(0, path.rfind('/'));
}

// Whether folder takes unnamed temporaries.
bool TakesUnnamed(const std::string& folder) {
  const int fd = __real_open(folder.c_str(), O_WRONLY | O_TMPFILE, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// The parameter: whether open() refuses unnamed temporaries.
class PlantedLinkTest : public ::testing::TestWithParam<bool>,
                        public CompanionInFolder<> {
 protected:
  void SetUp() override {
    victim.WriteBytes("victim", "precious");
    planting = Planting();
    planting.victim = victim.File("victim");
    planting.refuse_unnamed = GetParam();
    if (!planting.refuse_unnamed && !TakesUnnamed(dir.path())) {
      GTEST_SKIP() << "this file system takes no unnamed temporaries";
    }
  }
  void TearDown() override { planting.links_left = 0; }

  // Every creation was beside target and exclusive: a name given by linkat(),
  // which replaces nothing, or an open() that refused links; and was the kind
  // the parameter asks for.
  void ExpectExclusiveBeside(const std::string& folder) {
    ASSERT_FALSE(planting.created.empty());
    for (size_t i = 0; i < planting.created.size(); ++i) {
      EXPECT_EQ(Folder(planting.created[i]), folder) << planting.created[i];
      const std::optional<int> flags = planting.flags[i];
      EXPECT_EQ(flags.has_value(), planting.refuse_unnamed)
          << planting.created[i];
      if (!flags) continue;
      EXPECT_NE(*flags & O_EXCL, 0) << planting.created[i];
      EXPECT_NE(*flags & O_NOFOLLOW, 0) << planting.created[i];
    }
  }

  TempDir victim;
};

TEST_P(PlantedLinkTest, ASaveStepsAroundLinksPlantedAtItsTemporaryNames) {
  dir.WriteBytes("brain.dat", "old");
  planting.links_left = 3;
  SaveFileAtomically(dir.File("brain.dat"), "new");
  EXPECT_EQ(dir.ReadBytes("brain.dat"), "new");
  EXPECT_EQ(victim.ReadBytes("victim"), "precious");
  ASSERT_EQ(planting.created.size(), 4u);
  // The planted links are left as they are, still links.
  for (size_t i = 0; i < 3; ++i) {
    struct stat st;
    ASSERT_EQ(lstat(planting.created[i].c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
  }
  ExpectExclusiveBeside(dir.path());
}

TEST_P(PlantedLinkTest, LinksAtEveryNameMakeTheSaveFailAndTouchNothing) {
  dir.WriteBytes("res.dat", "old");
  planting.links_left = 1000;
  EXPECT_THROW(SaveFileAtomically(dir.File("res.dat"), "new"), Error);
  EXPECT_EQ(dir.ReadBytes("res.dat"), "old");
  EXPECT_EQ(victim.ReadBytes("victim"), "precious");
  ExpectExclusiveBeside(dir.path());
}

TEST_P(PlantedLinkTest, TheCloseAndTheDiaryNeverWriteThroughAPlantedLink) {
  dir.WriteSj("holv.dat", "太郎\r\n5\r\n");
  dir.WriteSj("brain.dat", "猫＝動物\r\n");
  dir.WriteSj("res.dat", "");
  companion.Start();
  for (const char* line : {"日記", "今日は晴れ", "セーブ", "こんにちは"}) {
    TypeAndPress(Sj(line));
  }
  planting.created.clear();
  planting.flags.clear();
  planting.links_left = 1;
  TypeAndPress(Sj("日記"));
  TypeAndPress(Sj("セーブ"));
  planting.links_left = 3;
  companion.Close();
  EXPECT_EQ(victim.ReadBytes("victim"), "precious");
  EXPECT_NE(dir.ReadBytes("diary.dat").find(Sj("今日は晴れ")),
            std::string::npos);
  EXPECT_NE(dir.ReadBytes("res.dat").find(Sj("こんにちは")), std::string::npos);
  EXPECT_EQ(dir.ReadBytes("holv.dat"),
            Sj("太郎\r\n6\r\n1\r\n1\r\n1\r\n1\r\n1\r\n\r\n\r\n"));
  ExpectExclusiveBeside(dir.path());
  ReportCase("security",
             std::string("links to a file outside planted at the temporary "
                         "names of the diary save and the close") +
                 (GetParam() ? ", temporaries named from the start" : ""),
             std::string(::testing::Test::HasFailure() ? "FAILED" : "ok") +
                 ": never followed; each save took another name",
             "4 files saved, the outside file untouched");
}

INSTANTIATE_TEST_SUITE_P(, PlantedLinkTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "NamedTemporaries"
                                             : "UnnamedTemporaries";
                         });

}  // namespace
}  // namespace holvan::testing
