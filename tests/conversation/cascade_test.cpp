#include "conversation_fixture.h"
#include "errors/error.h"
#include "support/file_faults.h"

namespace holvan::testing {
namespace {

using CascadeTest = ConversationTest;

TEST_F(CascadeTest, FixedRepliesAndTheirKeywordBoundaries) {
  StartAs("太郎");
  struct Case {
    const char* line;
    const char* reply;
  };
  const Case cases[] = {
      {"おはよう", "おはようございます 太郎さん"},
      {"おっはー", "おはようございます 太郎さん"},
      {"しょうがないな", "ありがとう 太郎さん"},
      {"許してやる", "ありがとう 太郎さん"},
      {"許してあげる", "ありがとう 太郎さん"},
      {"だめだ", "すいません"},
      {"元気だよ", "健康なのが一番みたいですね"},
      {"すけべ", "スケベってなんですか？"},
      {"スケベだね", "スケベってなんですか？"},
      {"いないよ", "見つかるといいですね"},
      {"いねぇ", "見つかるといいですね"},
      {"雨だ", "いやな天気ですね"},
      {"今日は雨", "いやな天気ですね"},
  };
  for (const Case& c : cases) {
    Rig({});
    EXPECT_EQ(Type(c.line), (Lines{"太郎 > " + std::string(c.line), c.reply}))
        << c.line;
    EXPECT_EQ(DrawsSinceRig(), 0) << c.line;
    EXPECT_EQ(state().mode, Mode::kFree) << c.line;
  }
  // One character short, another width or kana, or something before the
  // keyword: no rule matches and the line reaches the fallback replies.
  for (const char* line :
       {"ば",           "おま",         "なまい",   "許さな",     "て",
        "あなたはばか", "おは",         "しょうが", "許して",     "ごめ",
        "だ",           "元",           "こんにち", "こんにちわ", "いい",
        "良い",         "晴",           "楽",       "今日は",     "性",
        "すけ",         "ｽｹﾍﾞ",         "いな",     "独り言禁",   "独り言許",
        "日",           "おみくじして", "おみく",   "ふ",         "あは",
        "助け",         "ﾍﾙﾌﾟ"}) {
    Rig({{23, 6}});
    EXPECT_EQ(Type(line).back(), "もちろん") << line;
    EXPECT_EQ(DrawsSinceRig(), 1) << line;
    EXPECT_EQ(state().mode, Mode::kFree) << line;
  }
}

TEST_F(CascadeTest, RandomRepliesDrawOnceWithTheirBound) {
  StartAs("太郎");
  struct Table {
    std::vector<const char*> lines;
    std::vector<const char*> replies;
  };
  const Table tables[] = {
      {{"ごめんね"},
       {"いえいえ こちらも悪かったです",
        "間違いは誰にでもありますよ 私にはありませんが",
        "忘れます 別の話をしましょう"}},
      {{"こんばんは", "こんにちは!"},
       {"今日は天気はどうなんでしょう？", "ご機嫌いかがですか？",
        "今日はどんな事しましょう？"}},
      {{"良いよ", "いいよ", "晴れた", "楽しい", "今日は晴れ"},
       {"それは良かったですね", "良いんですね 嬉しいですね",
        "たまには掃除でもしてくれると嬉しいな"}},
      {{"おみくじ"},
       {"【大吉】 おめでとうございます これから素晴らしい事が起こりそうですね",
        "【中吉】 今は上り調子みたいですね すごい",
        "【小吉】 小さな幸せが沢山来そうです",
        "【凶】 あまり無理はしないほうが良いみたいです",
        "【大凶】 あ・・まぁ気にしないで下さい"}},
      {{"ふふ", "あははは"}, {"笑ってるんですか？", "ふふふ"}},
      {{"助けて", "ヘルプ"},
       {"助ける？ メモリ+16MBでどうですか？", "どうしました？"}},
  };
  for (const Table& table : tables) {
    const auto bound = static_cast<int32_t>(table.replies.size());
    for (const char* line : table.lines) {
      for (int32_t i = 0; i < bound; ++i) {
        Rig({{bound, i}});
        EXPECT_EQ(Type(line).back(), table.replies[i]) << line << " " << i;
        EXPECT_EQ(DrawsSinceRig(), 1) << line;
      }
    }
  }
}

TEST_F(CascadeTest, TheIdleRemarkSwitchRules) {
  StartAs("太郎");
  EXPECT_EQ(Type("独り言禁止です").back(),
            "わかりました してもいい時は 独り言許可 と言って下さい");
  EXPECT_FALSE(view.idle_enabled);
  EXPECT_EQ(Type("独り言許可").back(), "了解しました");
  EXPECT_TRUE(view.idle_enabled);
}

TEST_F(CascadeTest, TheFourthInsultClosesTheWindowCountingTheExit) {
  dir.WriteSj("holv.dat", "太郎\r\n5\r\n0\r\n0\r\n0\r\n0\r\n2\r\n");
  Start();
  EXPECT_EQ(Type("ばかだな").back(), "ひどい言葉ですね どうしたのですか");
  EXPECT_EQ(state().mode, Mode::kAngry1);
  // Other lines leave the anger where it is.
  EXPECT_EQ(Type("おはよう").back(), "おはようございます 太郎さん");
  EXPECT_EQ(Type("しねよ").back(), "すいません もうしないので許して下さい");
  EXPECT_EQ(state().mode, Mode::kAngry2);
  EXPECT_EQ(Type("だめ").back(), "すいません");
  EXPECT_EQ(Type("てめえ").back(), "だめみたいですね 一端終了していいですか？");
  EXPECT_EQ(state().mode, Mode::kAngry3);
  Rig({{3, 0}});
  EXPECT_EQ(Type("いいよ").back(), "それは良かったですね");
  EXPECT_EQ(state().mode, Mode::kAngry3);
  EXPECT_FALSE(closed);

  EXPECT_EQ(Type("許さない"), (Lines{"太郎 > 許さない"}));
  EXPECT_TRUE(closed);
  EXPECT_EQ(view.closing_messages, 1);
  EXPECT_EQ(state().profile.angry_exit_count, 3);
  EXPECT_EQ(dir.ReadBytes("holv.dat"),
            Sj("太郎\r\n6\r\n0\r\n0\r\n0\r\n0\r\n3\r\n"));
}

TEST_F(CascadeTest, ForgivenessApologiesAndOtherModesEndTheAnger) {
  StartAs("太郎");
  for (const char* insult : {"ばか", "死ね", "馬鹿"}) Type(insult);
  EXPECT_EQ(state().mode, Mode::kAngry3);
  Rig({{3, 2}});
  EXPECT_EQ(Type("ごめんね").back(), "忘れます 別の話をしましょう");
  EXPECT_EQ(state().mode, Mode::kFree);
  EXPECT_EQ(Type("あほ").back(), "ひどい言葉ですね どうしたのですか");
  Type("おまえ");
  EXPECT_EQ(Type("許してやるよ").back(), "ありがとう 太郎さん");
  EXPECT_EQ(state().mode, Mode::kFree);

  for (const char* insult : {"ふざけるな", "なまいき", "ぼけ"}) Type(insult);
  EXPECT_EQ(Type("性別").back(), "太郎さんは女性ですか?男性ですか?");
  EXPECT_EQ(state().mode, Mode::kAwaitGender);
  Type("男");
  EXPECT_EQ(Type("許すかよ").back(), "ひどい言葉ですね どうしたのですか");
  EXPECT_FALSE(closed);
}

TEST_F(CascadeTest, AFailedCloseKeepsTheCountAndTheNextInsultTriesAgain) {
  dir.WriteSj("holv.dat", "太郎\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
  Start();
  for (const char* insult : {"ばか", "ばか", "ばか"}) Type(insult);
  FileAttribute guard(dir.File("holv.dat"));
  if (!guard.ok()) GTEST_SKIP() << "chattr +i is not available here";

  EXPECT_THROW(Type("ばか"), Error);
  EXPECT_FALSE(closed);
  EXPECT_EQ(state().profile.angry_exit_count, 1);
  EXPECT_EQ(state().mode, Mode::kAngry3);
  EXPECT_THROW(Type("ばか"), Error);
  EXPECT_EQ(state().profile.angry_exit_count, 2);

  guard.Lift();
  Type("ばか");
  EXPECT_TRUE(closed);
  EXPECT_EQ(dir.ReadBytes("holv.dat"),
            Sj("太郎\r\n2\r\n0\r\n0\r\n0\r\n0\r\n3\r\n"));
}

}  // namespace
}  // namespace holvan::testing
