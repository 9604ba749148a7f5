#include "memory/file_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace holvan::memory {
namespace {

using namespace std::string_literals;

std::vector<std::string> Texts(const FileLines& lines) {
  std::vector<std::string> texts;
  for (int32_t i = 0; i < lines.Count(); ++i) {
    texts.emplace_back(lines.Text(i));
  }
  return texts;
}

TEST(FileLinesTest, ReadsLinesAsHolvanDoesAndGivesEveryByteBack) {
  const std::string bytes = "a\r\nb\nc\rd\n\re\x82\r\n\r\nlast\0after\r\nz"s;
  const FileLines lines(bytes);
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{"a", "b", "c", "d", "",
                                                    "e\x82", "", "last"}));
  EXPECT_EQ(lines.At(0).end, "\r\n");
  EXPECT_EQ(lines.At(2).end, "\r");
  EXPECT_EQ(lines.At(7).end, "");
  EXPECT_EQ(lines.Unread(), "\0after\r\nz"s);
  EXPECT_EQ(lines.Bytes(), bytes);

  for (const std::string& odd : {""s, "\r\n"s, "x"s, "\0"s, "\r\0\n"s}) {
    EXPECT_EQ(FileLines(odd).Bytes(), odd);
  }
  EXPECT_EQ(FileLines().Bytes(), "");
}

TEST(FileLinesTest, EditsTouchOnlyTheirLinesAndUndoGivesTheBytesBack) {
  const std::string bytes = "one\rtwo\nthree\x81\0tail"s;
  FileLines lines(bytes);

  // Added after a last line without a break: that line gets CR LF first,
  // and the new line stands before the zero byte, where Holvan reads it.
  const FileLines::Splice added = lines.Replace(3, 0, {lines.NewLine("four")});
  EXPECT_EQ(lines.Bytes(), "one\rtwo\nthree\x81\r\nfour\r\n\0tail"s);

  // A changed line keeps its own break; a removed one takes its break along.
  const FileLines::Splice changed =
      lines.Replace(0, 1, {lines.ChangedLine(0, "ONE")});
  const FileLines::Splice removed = lines.Replace(1, 1, {});
  EXPECT_EQ(lines.Bytes(), "ONE\rthree\x81\r\nfour\r\n\0tail"s);

  lines.Undo(removed);
  lines.Undo(changed);
  lines.Undo(added);
  EXPECT_EQ(lines.Bytes(), bytes);

  // Survives a move with its views.
  FileLines empty;
  empty.Replace(0, 0, {empty.NewLine("x")});
  FileLines moved = std::move(empty);
  EXPECT_EQ(moved.Bytes(), "x\r\n");
}

}  // namespace
}  // namespace holvan::memory
