#include "store/phrase_log.h"

#include <gtest/gtest.h>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "support/store_entries.h"
#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::LinesOf;
using testing::Sj;
using testing::TempDir;
using Lines = std::vector<NarrowText>;

void Save(const PhraseLog& log, const NarrowText& path) {
  AtomicFileWriter writer(path);
  log.lines().Write(writer);
  writer.Commit();
}

// The lines a log loads from bytes.
Lines Loaded(std::string_view bytes) {
  TempDir dir;
  dir.WriteBytes("res.dat", bytes);
  PhraseLog log;
  log.LoadFromFile(dir.File("res.dat"));
  return LinesOf(log);
}

TEST(PhraseLogTest, SplitsOnEveryKindOfBreakAndStopsAtZero) {
  EXPECT_EQ(Loaded("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(Loaded("a\nb\rc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(Loaded("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(Loaded("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(Loaded("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Loaded("a\r\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Loaded("a\r\nb\nc\r\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(Loaded(std::string("a\0b", 3)), (Lines{"a"}));
  EXPECT_EQ(Loaded(std::string("a\r\n\0\r\nb", 6)), (Lines{"a"}));
  EXPECT_EQ(Loaded(std::string("a\nb\0c", 5)), (Lines{"a", "b"}));
  EXPECT_EQ(Loaded(""), Lines{});
  EXPECT_EQ(Loaded("\r\n"), (Lines{""}));
  EXPECT_EQ(Loaded("\r"), (Lines{""}));
  EXPECT_EQ(Loaded("\n\n"), (Lines{"", ""}));
  // A trail byte is never a break; bytes that are not characters pass.
  EXPECT_EQ(Loaded(Sj("表\r\nソ") + "\x82\r\n\xFF"),
            (Lines{Sj("表"), Sj("ソ") + "\x82", "\xFF"}));
}

TEST(PhraseLogTest, LoadsOddFilesAndSavesThemBack) {
  TempDir dir;
  const std::string odd = std::string("a\x80\xFF\x82\r\n") + Sj("猫") + "\nc";
  dir.WriteBytes("odd.dat", odd);
  PhraseLog log;
  log.LoadFromFile(dir.File("odd.dat"));
  EXPECT_EQ(LinesOf(log), (Lines{"a\x80\xFF\x82", Sj("猫"), "c"}));
  log.Add("");
  log.Add("d");
  EXPECT_TRUE(log.Contains("c"));
  EXPECT_TRUE(log.Contains(""));
  EXPECT_FALSE(log.Contains("c\r\n"));
  Save(log, dir.File("odd.dat"));
  EXPECT_EQ(dir.ReadBytes("odd.dat"),
            std::string("a\x80\xFF\x82\r\n") + Sj("猫") + "\r\nc\r\n\r\nd\r\n");

  // One enormous line, far beyond 4095 bytes, reads back whole.
  std::string huge(5'000'000, 'x');
  huge[4095] = '\x82';
  dir.WriteBytes("huge.dat", huge + "\r\n" + "y");
  log.LoadFromFile(dir.File("huge.dat"));
  ASSERT_EQ(log.Count(), 2);
  EXPECT_EQ(log.Get(0), huge);
  EXPECT_EQ(log.Get(1), "y");
  Save(log, dir.File("huge.dat"));
  EXPECT_EQ(dir.ReadBytes("huge.dat"), huge + "\r\ny\r\n");

  PhraseLog empty;
  Save(empty, dir.File("huge.dat"));
  EXPECT_TRUE(dir.Exists("huge.dat"));
  EXPECT_EQ(dir.ReadBytes("huge.dat"), "");
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
  EXPECT_EQ(LinesOf(log), (Lines{"kept"}));
  EXPECT_TRUE(log.Contains("kept"));
  dir.WriteBytes("empty.dat", "");
  log.LoadFromFile(dir.File("empty.dat"));
  EXPECT_EQ(log.Count(), 0);
  EXPECT_FALSE(log.Contains("kept"));
}

TEST(PhraseLogTest, IndexErrorsOutsideTheEntries) {
  PhraseLog log;
  for (int i = 0; i < 7; ++i) log.Add(std::to_string(i));
  try {
    log.Get(9);
    FAIL() << "Get(9) returned";
  } catch (const Error& error) {
    EXPECT_EQ(error.BoxText(), Sj("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (9)"));
  }
  EXPECT_THROW(log.Get(7), Error);
  EXPECT_THROW(log.Get(-1), Error);
  EXPECT_EQ(log.Get(6), "6");
  EXPECT_THROW(PhraseLog().Get(0), Error);
}

}  // namespace
}  // namespace holvan
