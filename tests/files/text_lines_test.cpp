#include "files/text_lines.h"

#include <gtest/gtest.h>

#include "errors/error.h"
#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::Sj;
using testing::TempDir;

TextLines Over(std::string_view text) {
  TextLines lines;
  lines.SetText(NarrowText(text));
  return lines;
}

TEST(TextLinesTest, CountLeavesOutAnEmptyLastPiece) {
  EXPECT_EQ(Over("").Count(), 0);
  EXPECT_EQ(Over("a").Count(), 1);
  EXPECT_EQ(Over("a\r\n").Count(), 1);
  EXPECT_EQ(Over("\r\n").Count(), 1);
  EXPECT_EQ(Over("a\r\n\r\n").Count(), 2);
  EXPECT_EQ(Over("a\r\nb").Count(), 2);
  // Only CR LF separates pieces.
  EXPECT_EQ(Over("a\nb\rc").Count(), 1);
  EXPECT_EQ(Over("a\r\nb").Get(1), "b");
  EXPECT_EQ(Over("a\r\n").Get(1), "");
  EXPECT_EQ(Over("a\r\nb").Get(-1), "");
}

TEST(TextLinesTest, AddDependsOnTheFinalBreak) {
  TextLines lines;
  for (int i = 0; i < 7; ++i) EXPECT_EQ(lines.Add(""), "\r\n");
  EXPECT_EQ(lines.Count(), 7);
  lines.Put(0, Sj("名前"));
  EXPECT_EQ(lines.Text(), Sj("名前") + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n");

  TextLines profile = Over("name\r\n5");
  EXPECT_EQ(profile.Add(""), "\r\n");
  EXPECT_EQ(profile.Text(), "name\r\n5\r\n");
  EXPECT_EQ(profile.Count(), 2);
  profile.Add("");
  EXPECT_EQ(profile.Count(), 3);

  TextLines joined = Over("a");
  EXPECT_EQ(joined.Add("b"), "\r\nb");
  EXPECT_EQ(joined.Text(), "a\r\nb");

  TextLines several = Over("a\r\n");
  several.Add("\r\nx\r\n");
  EXPECT_EQ(several.Text(), "a\r\n\r\nx\r\n\r\n");
  EXPECT_EQ(several.Count(), 4);
  EXPECT_EQ(several.Get(1), "");
  EXPECT_EQ(several.Get(2), "x");
}

TEST(TextLinesTest, OutOfRangeDoesNothing) {
  TextLines lines;
  for (int i = 0; i < 7; ++i) lines.Add("l");
  const NarrowText before = lines.Text();
  EXPECT_EQ(lines.Get(9), "");
  lines.Put(9, "x");
  lines.Put(-1, "x");
  EXPECT_EQ(lines.Delete(9).length, 0u);
  EXPECT_EQ(lines.Delete(-1).length, 0u);
  EXPECT_EQ(lines.Text(), before);
  // The empty last piece can be written.
  lines.Put(7, "end");
  EXPECT_EQ(lines.Text(), before + "end");
  TextLines empty;
  empty.Put(0, "x");
  EXPECT_EQ(empty.Text(), "x");
}

TEST(TextLinesTest, PutKeepsTheBreakAndGetCutsAt4096) {
  TextLines lines = Over("a\r\nb\r\nc");
  lines.Put(1, "middle");
  EXPECT_EQ(lines.Text(), "a\r\nmiddle\r\nc");
  lines.Put(2, "");
  EXPECT_EQ(lines.Text(), "a\r\nmiddle\r\n");
  const std::string long_line(5000, 'z');
  lines.Put(0, long_line);
  EXPECT_EQ(lines.Get(0), long_line.substr(0, 4096));
  EXPECT_EQ(lines.Get(1), "middle");
}

TEST(TextLinesTest, DeleteRemovesTheLastLine) {
  TextLines lines = Over("a\r\nb\r\n");
  ByteRange removed = lines.Delete(lines.Count() - 1);
  EXPECT_EQ(lines.Text(), "a\r\n");
  EXPECT_EQ(removed.begin, 3u);
  EXPECT_EQ(removed.length, 3u);
  lines = Over("a\r\nb");
  removed = lines.Delete(lines.Count() - 1);
  EXPECT_EQ(lines.Text(), "a\r\n");
  EXPECT_EQ(removed.length, 1u);
  lines = Over("");
  EXPECT_EQ(lines.Delete(lines.Count() - 1).length, 0u);
  EXPECT_EQ(lines.Text(), "");
  lines = Over("a\r\nb\r\nc");
  lines.Delete(0);
  EXPECT_EQ(lines.Text(), "b\r\nc");
}

TEST(TextLinesTest, SelectionIsClampedToTheText) {
  TextLines lines = Over("hello\r\nworld");
  lines.SetSelection({7, 5});
  EXPECT_EQ(lines.SelectedText(), "world");
  lines.SetSelection({5, 100});
  EXPECT_EQ(lines.SelectedText(), "\r\nworld");
  ByteRange removed = lines.DeleteSelection();
  EXPECT_EQ(removed.begin, 5u);
  EXPECT_EQ(removed.length, 7u);
  EXPECT_EQ(lines.Text(), "hello");
  EXPECT_EQ(lines.SelectedText(), "");
  lines.SetSelection({100, 3});
  EXPECT_EQ(lines.SelectedText(), "");
  EXPECT_EQ(lines.DeleteSelection().length, 0u);
  EXPECT_EQ(lines.Text(), "hello");
}

TEST(TextLinesTest, LoadMakesBreaksCrLfAndSaveWritesTheTextExactly) {
  EXPECT_EQ(NormalizeBreaks("a\nb\rc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
  EXPECT_EQ(NormalizeBreaks(std::string("a\nb\0c\n", 6)), "a\r\nb");
  EXPECT_EQ(NormalizeBreaks("\r"), "\r\n");
  EXPECT_EQ(NormalizeBreaks(Sj("表\nソ")), Sj("表\r\nソ"));

  TempDir dir;
  dir.WriteBytes("p.dat", "x\ny");
  TextLines lines;
  lines.LoadFromFile(dir.File("p.dat"));
  EXPECT_EQ(lines.Text(), "x\r\ny");
  EXPECT_EQ(lines.Count(), 2);
  lines.SaveToFile(dir.File("p.dat"));
  EXPECT_EQ(dir.ReadBytes("p.dat"), "x\r\ny");

  const std::string odd = std::string("\x80\x82\r\n\xFF") + Sj("日記");
  dir.WriteBytes("odd.dat", odd);
  lines.LoadFromFile(dir.File("odd.dat"));
  lines.SaveToFile(dir.File("odd.dat"));
  EXPECT_EQ(dir.ReadBytes("odd.dat"), odd);

  EXPECT_THROW(lines.LoadFromFile(dir.File("missing.dat")), Error);
  EXPECT_EQ(lines.Text(), odd);
}

}  // namespace
}  // namespace holvan
