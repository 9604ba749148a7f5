#include <gtest/gtest.h>

#include <filesystem>

#include "term_process.h"

namespace holvan::testing {
namespace {

TEST(ScriptedRunTest, FirstRunAsksTheName) {
  TempDir dir;
  for (const char* name : {"holv.dat", "brain.dat", "res.dat", "dic.dat"}) {
    dir.WriteBytes(name, "");
  }
  // A CR before the break is dropped.
  const TermRun run = RunTerm(dir, "\n太郎\r\n", SeedAndNow(0));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "お名前を教えて下さい\n"
            " > \n"
            "お名前を入力して下さい\n"
            " > 太郎\n"
            "太郎さんですね 記録しました\n" +
                kClosing);
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Profile(0, 0, 0));
  EXPECT_EQ(dir.ReadBytes("res.dat"), Sj("太郎\r\n"));
  EXPECT_EQ(dir.ReadBytes("brain.dat"), "");
  EXPECT_EQ(dir.ReadBytes("dic.dat"), "");

  // Without data files nothing is written, and the next run asks again.
  TempDir bare;
  for (int i = 0; i < 2; ++i) {
    const TermRun again = RunTerm(bare, "太郎\n", SeedAndNow(0));
    EXPECT_EQ(again.out,
              "お名前を教えて下さい\n"
              " > 太郎\n"
              "太郎さんですね 記録しました\n" +
                  kClosing);
  }
  EXPECT_TRUE(std::filesystem::is_empty(bare.path()));
}

TEST(ScriptedRunTest, ReturningUserIsGreetedWithTheEraDate) {
  TempDir dir;
  dir.WriteSj("holv.dat", "太郎\r\n99\r\n3\r\n1\r\n2\r\nabc\r\n0\r\n追加\r\n");
  const TermRun run =
      RunTerm(dir, "こんにちは\n", SeedAndNow(SeedGiving({{3, 1}})));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kGreeting +
                         "今日でお会いするのはなんと100回目なんですよ\n"
                         "太郎 > こんにちは\n"
                         "ご機嫌いかがですか？\n" +
                         kClosing);
  EXPECT_EQ(dir.ReadBytes("holv.dat"),
            Sj("太郎\r\n100\r\n3\r\n1\r\n2\r\n1\r\n0\r\n追加\r\n"));
  EXPECT_FALSE(dir.Exists("res.dat"));
}

TEST(ScriptedRunTest, TeachingAddsToTheDictionaryForTheRun) {
  TempDir dir;
  dir.WriteBytes("holv.dat", Profile(1, 0, 0));
  dir.WriteSj("dic.dat", "大阪*商人の町\r\n");
  dir.WriteBytes("res.dat", "");
  const TermRun run = RunTerm(dir,
                              "東京は？\n日本の首都\nいいよ\n東京って何？\n"
                              "京都は？\n古都\nだめ\n京都は？\n",
                              SeedAndNow(0));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            kGreeting +
                "太郎 > 東京は？\n"
                "東京 についての情報がありません 教えて下さい\n"
                "太郎 > 日本の首都\n"
                "東京 は 日本の首都 という事ですか？記憶してもいいですか？\n"
                "だめ か いいよ で答えて下さい\n"
                "太郎 > いいよ\n"
                "ありがとう 覚えました\n"
                "太郎 > 東京って何？\n"
                "東京 とは 日本の首都 という事らしいです\n"
                "太郎 > 京都は？\n"
                "京都 についての情報がありません 教えて下さい\n"
                "太郎 > 古都\n"
                "京都 は 古都 という事ですか？記憶してもいいですか？\n"
                "だめ か いいよ で答えて下さい\n"
                "太郎 > だめ\n"
                "そうですね すみません\n"
                "太郎 > 京都は？\n"
                "京都 についての情報がありません 教えて下さい\n" +
                kClosing);
  EXPECT_EQ(dir.ReadBytes("dic.dat"), Sj("大阪*商人の町\r\n"));
  EXPECT_EQ(dir.ReadBytes("res.dat"),
            Sj("東京は？\r\n日本の首都\r\nいいよ\r\n東京って何？\r\n"
               "京都は？\r\n古都\r\nだめ\r\n"));
}

TEST(ScriptedRunTest, LearningAssociationAndDenial) {
  TempDir dir;
  dir.WriteBytes("holv.dat", Profile(1, 3, 0));
  dir.WriteSj("brain.dat", "好き＝楽しい事\r\n嫌い＝悲しい事\r\n");
  // Fallback 0 after the first statement, association remark 2, good news 1.
  const uint32_t seed = SeedGiving({{23, 0}, {4, 2}, {3, 1}});
  const TermRun run = RunTerm(dir,
                              "猫とは猫科だ\n猫とは動物だ\n猫とは哺乳類だ\n"
                              "猫が好き\nちがうよ\n楽しい\n",
                              SeedAndNow(seed));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kGreeting +
                         "太郎 > 猫とは猫科だ\n"
                         "覚えました\n"
                         "猫とは猫科だってどういうことでしょう\n"
                         "太郎 > 猫とは動物だ\n"
                         "覚えました\n"
                         "太郎 > 猫とは哺乳類だ\n"
                         "覚えました\n"
                         "太郎 > 猫が好き\n"
                         "猫 って 哺乳類 のことですね\n"
                         "太郎 > ちがうよ\n"
                         "あれ じゃ 動物 ってことかな 違うなら教えて下さい\n"
                         "太郎 > 楽しい\n"
                         "良いんですね 嬉しいですね\n" +
                         kClosing);
  EXPECT_EQ(
      dir.ReadBytes("brain.dat"),
      Sj("好き＝楽しい事\r\n嫌い＝悲しい事\r\n猫＝哺乳類＊動物＊猫科\r\n"));
  // "楽しい" occurs in the first Brain value: Mood 3 became 4.
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Profile(2, 4, 0));
}

TEST(ScriptedRunTest, FourthInsultClosesTheProgram) {
  TempDir dir;
  dir.WriteBytes("holv.dat", Profile(1, 0, 2));
  dir.WriteBytes("res.dat", "");
  const TermRun run =
      RunTerm(dir, "ばか\nあほ\nこんにちは\nしね\nばか\nおはよう\n",
              SeedAndNow(SeedGiving({{3, 2}})));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, kGreeting +
                         "太郎 > ばか\n"
                         "ひどい言葉ですね どうしたのですか\n"
                         "太郎 > あほ\n"
                         "すいません もうしないので許して下さい\n"
                         "太郎 > こんにちは\n"
                         "今日はどんな事しましょう？\n"
                         "太郎 > しね\n"
                         "だめみたいですね 一端終了していいですか？\n"
                         "太郎 > ばか\n" +
                         kClosing);
  // The line after the close is never read.
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Profile(2, 0, 3));
  EXPECT_EQ(dir.ReadBytes("res.dat"),
            Sj("ばか\r\nあほ\r\nこんにちは\r\nしね\r\n"));
}

TEST(ScriptedRunTest, DiarySavedAndLoadedAgain) {
  TempDir dir;
  dir.WriteBytes("holv.dat", Profile(1, 0, 0));
  dir.WriteSj("dic.dat", "大阪*商人の町\r\n");
  // A tick that would tell the fact if the switch were on.
  const uint32_t seed = SeedGiving({{10, 8}, {1, 0}});
  const TermRun run = RunTerm(dir,
                              "日記をつける\n今日は晴れ\n消す行\n削除\n/tick\n"
                              "セーブ\n日記\n二日目\n終了\n/tick\n",
                              SeedAndNow(seed));
  const std::string header = "\n令和8年12月5日(土曜日)午後3時07分09秒\n\n";
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kGreeting + "太郎 > 日記をつける\n" + header +
                         "今日は晴れ\n"
                         "消す行\n"
                         "保存しました\n"
                         "太郎 > 日記\n" +
                         header + "今日は晴れ\n" + header +
                         "二日目\n"
                         "終了しました\n"
                         "大阪 とは 商人の町の事ですよ 知ってました？\n" +
                         kClosing);
  EXPECT_EQ(
      dir.ReadBytes("diary.dat"),
      Sj("\r\n令和8年12月5日(土曜日)午後3時07分09秒\r\n\r\n今日は晴れ\r\n"));
}

TEST(ScriptedRunTest, LoadedDiaryWithoutFinalBreakOrWithBadBytes) {
  TempDir dir;
  dir.WriteBytes("holv.dat", Profile(1, 0, 0));
  const std::string diary = Sj("昔の") + "\xFF" + Sj("日記\n二行目");
  dir.WriteBytes("diary.dat", diary);
  const TermRun run = RunTerm(dir, "日記\n止める\n", SeedAndNow(0));
  EXPECT_EQ(run.out, kGreeting +
                         "太郎 > 日記\n"
                         "昔の\uFFFD日記\n"
                         "二行目\n"
                         "\n令和8年12月5日(土曜日)午後3時07分09秒\n\n"
                         "終了しました\n" +
                         kClosing);
  EXPECT_EQ(dir.ReadBytes("diary.dat"), diary);
}

TEST(ScriptedRunTest, TypedBytesThatAreNotUtf8OrZero) {
  TempDir dir;
  dir.WriteBytes("holv.dat", "");
  const TermRun run =
      RunTerm(dir, std::string("\xFF太\0郎\n", 9), SeedAndNow(0));
  EXPECT_EQ(run.out,
            "お名前を教えて下さい\n"
            " > 〓太郎\n"
            "〓太郎さんですね 記録しました\n" +
                kClosing);
  EXPECT_EQ(dir.ReadBytes("holv.dat"),
            Sj("〓太郎\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"));
}

}  // namespace
}  // namespace holvan::testing
