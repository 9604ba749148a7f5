#include "files/line_list.h"

#include <gtest/gtest.h>

#include "errors/error.h"
#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::Sj;
using testing::TempDir;
using Lines = std::vector<NarrowText>;

TEST(LineListTest, SplitsOnEveryKindOfBreakAndStopsAtZero) {
  EXPECT_EQ(SplitFileLines("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitFileLines("a\nb\rc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(SplitFileLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(SplitFileLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitFileLines("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitFileLines("a\r\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitFileLines(std::string("a\0b", 3)), (Lines{"a"}));
  EXPECT_EQ(SplitFileLines(std::string("a\r\n\0\r\nb", 6)), (Lines{"a"}));
  EXPECT_EQ(SplitFileLines(""), Lines{});
  EXPECT_EQ(SplitFileLines("\r\n"), (Lines{""}));
  EXPECT_EQ(SplitFileLines("\r"), (Lines{""}));
  EXPECT_EQ(SplitFileLines("\n\n"), (Lines{"", ""}));
  // A trail byte is never a break; bytes that are not characters pass.
  EXPECT_EQ(SplitFileLines(Sj("表\r\nソ") + "\x82\r\n\xFF"),
            (Lines{Sj("表"), Sj("ソ") + "\x82", "\xFF"}));
}

TEST(LineListTest, IndexErrorsOutsideTheEntries) {
  LineList list;
  for (int i = 0; i < 7; ++i) EXPECT_EQ(list.Add(std::to_string(i)), i);
  try {
    list.Get(9);
    FAIL() << "Get(9) returned";
  } catch (const Error& error) {
    EXPECT_EQ(error.BoxText(), Sj("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (9)"));
  }
  EXPECT_THROW(list.Get(7), Error);
  EXPECT_THROW(list.Get(-1), Error);
  EXPECT_THROW(list.Put(7, "x"), Error);
  EXPECT_THROW(list.Put(-1, "x"), Error);
  list.Put(3, "three");
  EXPECT_EQ(list.Count(), 7);
  EXPECT_EQ(list.entries(), (Lines{"0", "1", "2", "three", "4", "5", "6"}));
  EXPECT_THROW(LineList().Get(0), Error);
}

TEST(LineListTest, SavesEveryEntryWithCrLf) {
  TempDir dir;
  LineList list;
  list.Add("a");
  list.Add("");
  list.Add("b");
  list.SaveToFile(dir.File("l.dat"));
  EXPECT_EQ(dir.ReadBytes("l.dat"), "a\r\n\r\nb\r\n");
  LineList empty;
  empty.SaveToFile(dir.File("l.dat"));
  EXPECT_TRUE(dir.Exists("l.dat"));
  EXPECT_EQ(dir.ReadBytes("l.dat"), "");
}

}  // namespace
}  // namespace holvan
