#include "memory/check.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "text/cp932.h"

namespace holvan::memory {
namespace {

using namespace std::string_literals;
using testing::Sj;
using testing::TempDir;

std::vector<std::string> Report(const TempDir& dir) {
  std::vector<std::string> lines;
  const MemoryFolder memory =
      MemoryFolder::OpenReadOnly(dir.path(), FolderInUseReason());
  for (const Problem& problem : CheckMemory(memory)) {
    lines.push_back(NarrowToUtf8(ProblemText(problem)));
  }
  return lines;
}

TEST(CheckTest, ReportsEachProblemWithItsFileAndLine) {
  TempDir dir;
  dir.WriteBytes("dic.dat",
                 Sj("東京*首都\r\n説明のない行\r\n\r\n東京*二つ目\r\n"
                    "こんにちは*挨拶\r\n言って何*x\r\n*空\r\n") +
                     "\x82\xFF*bad\r\n");
  dir.WriteBytes("brain.dat", Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n"
                                 "等号のない行\r\na＝b＝c\r\n猫＝動物\r\n"
                                 "猫＝ペット\r\n犬＝") +
                                  "\0ignored"s);
  dir.WriteSj("res.dat", "やあ\r\nまた\r\nやあ\r\n");
  dir.WriteSj("holv.dat", "太郎\r\n3\r\nabc\r\n１２\r\n");
  dir.WriteBytes("diary.dat", "ok\r\n\x81\r\n"s);
  EXPECT_EQ(
      Report(dir),
      (std::vector<std::string>{
          "dic.dat 2 行目: 「*」がないので、この行は辞書に入りません",
          "dic.dat 4 行目: 「東京」は 1 "
          "行目と同じ言葉なので、答えに使われません",
          "dic.dat 5 行目: 「こんにちは」は質問で尋ねられません（5 "
          "文字目の「は」で話題が切れます）",
          "dic.dat 6 行目: 「言って何」は質問で尋ねられません（2 "
          "文字目の「っ」で話題が切れます）",
          "dic.dat 7 行目: 言葉が空なので、質問で尋ねられません",
          "dic.dat 8 行目: コードページ 932 の文字ではないバイト 0x82 "
          "があります（1 バイト目）",
          "brain.dat 3 行目: "
          "「＝」がないので言葉のない行として読まれ、次の保存で先頭に「＝」が付"
          "きます",
          "brain.dat 4 行目: 「＝」が 2 つ以上あります: "
          "言葉は最初の「＝」までの「a」として読まれます",
          "brain.dat 6 行目: 「猫」は 5 行目と同じ言葉です",
          "brain.dat 7 行目: ゼロのバイトがあります: ここから後の 8 バイトは "
          "Holvan に読まれません",
          "res.dat 3 行目: 1 行目と同じ発言です",
          "holv.dat 3 行目: 「abc」は整数ではないので、1 として読まれます",
          "holv.dat 4 行目: 「１２」は整数ではないので、1 として読まれます",
          "holv.dat 5 行目: 行が足りません: holv.dat は 7 行で、ない行の数は 1 "
          "として読まれます",
          "diary.dat 2 行目: コードページ 932 の文字ではないバイト 0x81 "
          "があります（1 バイト目）",
      }));
}

// Holvan reads the visit count (line 2) as 0 and the mood and counters
// (lines 3 to 7) as 1 when they are no integer; what follows line 7 is no
// number.
TEST(CheckTest, ReportsEachProfileNumberThatIsNoInteger) {
  for (int line = 2; line <= 8; ++line) {
    std::vector<std::string> profile = {"太郎", "3", "1", "0",
                                        "0",    "0", "0", "x"};
    profile[static_cast<std::size_t>(line - 1)] = "二";
    std::string text;
    for (const std::string& field : profile) text += field + "\r\n";
    TempDir dir;
    dir.WriteSj("holv.dat", text);
    const std::string expected = "holv.dat " + std::to_string(line) +
                                 " 行目: 「二」は整数ではないので、" +
                                 (line == 2 ? "0" : "1") + " として読まれます";
    EXPECT_EQ(Report(dir), line <= 7 ? std::vector<std::string>{expected}
                                     : std::vector<std::string>{})
        << line;
  }
}

TEST(CheckTest, FindsNothingInSoundFiles) {
  TempDir dir;
  dir.WriteSj("dic.dat", "東京*首都\r\n\r\nはさみ*道具\r\n");
  dir.WriteSj("brain.dat", "a＝x\r\nb＝y\r\n猫＝動物＊ペット\r\n");
  // An empty profile, or one with only a name, is a first run.
  dir.WriteSj("holv.dat", "太郎\r\n");
  dir.WriteBytes("res.dat", "");
  EXPECT_TRUE(Report(dir).empty());
}

}  // namespace
}  // namespace holvan::memory
