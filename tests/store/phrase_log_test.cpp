#include "store/phrase_log.h"

#include <gtest/gtest.h>

#include "errors/error.h"
#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::Sj;
using testing::TempDir;
using Lines = std::vector<NarrowText>;

TEST(PhraseLogTest, LoadsOddFilesAndSavesThemBack) {
  TempDir dir;
  const std::string odd = std::string("a\x80\xFF\x82\r\n") + Sj("猫") + "\nc";
  dir.WriteBytes("odd.dat", odd);
  PhraseLog log;
  log.LoadFromFile(dir.File("odd.dat"));
  EXPECT_EQ(log.entries().entries(), (Lines{"a\x80\xFF\x82", Sj("猫"), "c"}));
  log.entries().SaveToFile(dir.File("odd.dat"));
  EXPECT_EQ(dir.ReadBytes("odd.dat"),
            std::string("a\x80\xFF\x82\r\n") + Sj("猫") + "\r\nc\r\n");

  // One enormous line, far beyond 4095 bytes, reads back whole.
  std::string huge(5'000'000, 'x');
  huge[4095] = '\x82';
  dir.WriteBytes("huge.dat", huge + "\r\n" + "y");
  log.LoadFromFile(dir.File("huge.dat"));
  ASSERT_EQ(log.Count(), 2);
  EXPECT_EQ(log.Get(0), huge);
  EXPECT_EQ(log.Get(1), "y");
  log.entries().SaveToFile(dir.File("huge.dat"));
  EXPECT_EQ(dir.ReadBytes("huge.dat"), huge + "\r\ny\r\n");
}

TEST(PhraseLogTest, AFileThatCannotBeReadLeavesTheLogAlone) {
  TempDir dir;
  PhraseLog log;
  log.Add("kept");
  try {
    log.LoadFromFile(dir.File("missing.dat"));
    FAIL() << "loaded a missing file";
  } catch (const Error& error) {
    EXPECT_EQ(error.message(),
              Sj("ﾌｧｲﾙ " + dir.File("missing.dat") + " は開けません"));
  }
  EXPECT_THROW(log.LoadFromFile(dir.path()), Error);
  EXPECT_EQ(log.entries().entries(), (Lines{"kept"}));
  dir.WriteBytes("empty.dat", "");
  log.LoadFromFile(dir.File("empty.dat"));
  EXPECT_EQ(log.Count(), 0);
}

}  // namespace
}  // namespace holvan
