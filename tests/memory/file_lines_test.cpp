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

// Splices of one file's lines made again on another version of it: found by
// their texts nearest where they were, each put line with the break of the
// line it takes the place of; lines added at the end go to the new end.
// The bytes come as pieces: runs of lines as read in one piece each, breaks
// and what follows the zero byte included; a save keeps the pieces as what
// the file holds, and edits go on from there.
TEST(FileLinesTest, PiecesAreRunsOfTheBytesReadBetweenEdits) {
  FileLines lines("one\rtwo\nthree\0tail"s);
  ASSERT_EQ(lines.Pieces().size(), 1u);
  lines.Replace(1, 1, {lines.ChangedLine(1, "TWO")});
  lines.Replace(3, 0, {lines.NewLine("four")});
  const std::string written = "one\rTWO\nthree\r\nfour\r\n\0tail"s;
  ASSERT_EQ(lines.Bytes(), written);
  // one\r | TWO | \n | three | \r\n | four | \r\n | \0tail
  EXPECT_EQ(lines.Pieces().size(), 8u);
  lines.Saved(lines.Pieces());
  const auto saved = [&lines] {
    std::string bytes;
    for (std::string_view piece : lines.SavedPieces()) bytes += piece;
    return bytes;
  };
  lines.Replace(0, 1, {lines.ChangedLine(0, "1")});
  EXPECT_EQ(lines.Bytes(), "1\rTWO\nthree\r\nfour\r\n\0tail"s);
  EXPECT_EQ(saved(), written);
  EXPECT_EQ(lines.At(0).end, "\r");
  EXPECT_EQ(lines.Unread(), "\0tail"s);
  // Taken back, the lines as read are one piece again.
  FileLines undone("a\r\nb\r\nc"s);
  const FileLines::Splice splice =
      undone.Replace(1, 1, {undone.ChangedLine(1, "B")});
  undone.Undo(splice);
  EXPECT_EQ(undone.Pieces(), std::vector<std::string_view>{"a\r\nb\r\nc"});
}

TEST(FileLinesTest, RedoMakesASpliceAgainWhereItsLinesAreNow) {
  FileLines first("a\r\nb\r\nc\r\nlast"s);
  const FileLines::Splice changed =
      first.Replace(1, 1, {first.ChangedLine(1, "B")});
  const FileLines::Splice removed = first.Replace(2, 1, {});
  const FileLines::Splice added = first.Replace(
      first.Count(), 0, {first.NewLine("new"), first.NewLine("newer")});
  ASSERT_EQ(first.Bytes(), "a\r\nB\r\nlast\r\nnew\r\nnewer\r\n");

  // Of the two "b", the one nearer to where it was is changed, with its LF.
  FileLines second("z\r\ny\r\na\r\nb\nc\rlast\r\nb\r\n"s);
  ASSERT_TRUE(second.Redo(changed));
  ASSERT_TRUE(second.Redo(removed));
  ASSERT_TRUE(second.Redo(added));
  EXPECT_EQ(second.Bytes(), "z\r\ny\r\na\r\nB\nlast\r\nb\r\nnew\r\nnewer\r\n");

  FileLines gone("a\r\nc\r\n"s);
  EXPECT_FALSE(gone.Redo(changed));
  EXPECT_EQ(gone.Bytes(), "a\r\nc\r\n");
}

}  // namespace
}  // namespace holvan::memory
