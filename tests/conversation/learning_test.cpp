#include "conversation_fixture.h"

namespace holvan::testing {
namespace {

class LearningTest : public ConversationTest {
 protected:
  /// Replaces the Brain by the pairs given as UTF-8.
  void SetBrain(
      std::initializer_list<std::pair<const char*, const char*>> pairs) {
    stores().brain = Brain();
    for (auto [key, value] : pairs) stores().brain.Add(Sj(key), Sj(value));
  }
  std::string Key(int32_t i) { return Utf8(stores().brain.Key(i)); }
  std::string Value(int32_t i) { return Utf8(stores().brain.Value(i)); }
};

TEST_F(LearningTest, LearnsAboutCatsNewestDefinitionFirst) {
  dir.WriteSj("brain.dat", "犬＝忠実＊動物\r\n");
  StartAs("太郎");
  Rig({{23, 1}});
  EXPECT_EQ(Type("猫とは動物だ"),
            (Lines{"太郎 > 猫とは動物だ", "覚えました", "そうだといいですね"}));
  EXPECT_EQ(DrawsSinceRig(), 1);
  ASSERT_EQ(stores().brain.Count(), 2);
  EXPECT_EQ(Key(1), "猫");
  EXPECT_EQ(Value(1), "動物");

  Rig({});
  EXPECT_EQ(Type("猫とは哺乳類だ"),
            (Lines{"太郎 > 猫とは哺乳類だ", "覚えました"}));
  EXPECT_EQ(Value(1), "哺乳類＊動物");
  EXPECT_EQ(Type("猫とは動物だ"), (Lines{"太郎 > 猫とは動物だ", "覚えました"}));
  EXPECT_EQ(Value(1), "動物＊哺乳類");
  Type("猫とは動物だ");
  EXPECT_EQ(Value(1), "動物＊哺乳類");
  EXPECT_EQ(stores().brain.Count(), 2);
  EXPECT_EQ(DrawsSinceRig(), 0);
}

TEST_F(LearningTest, TheFourStatementForms) {
  StartAs("太郎");
  struct Case {
    const char* line;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"犬というのは忠実な動物だ", "犬", "忠実な動物"},
      {"犬とは忠実な動物だ", "犬", "忠実な動物"},
      {"犬とは忠実な動物のことだよ", "犬", "忠実な動物のこと"},
      {"犬とは忠実な動物のこと", "犬", "忠実な動物"},
      {"犬とは忠実な動物のことだ", "犬", "忠実な動物のこと"},
      {"とは何だ", "", "何"},
      {"猫とはだ", "猫", ""},
      // モ ends in byte 82 and ﾆ is C6: the bytes of とは stand across three
      // characters, so the line holds the marker while no character does.
      {"モﾆは犬だ", "", "ﾆは犬"},
  };
  for (const Case& c : cases) {
    SetBrain({});
    Rig({{23, 1}});
    EXPECT_EQ(Type(c.line), (Lines{"太郎 > " + std::string(c.line),
                                   "覚えました", "そうだといいですね"}))
        << c.line;
    ASSERT_EQ(stores().brain.Count(), 1) << c.line;
    EXPECT_EQ(Key(0), c.key) << c.line;
    EXPECT_EQ(Value(0), c.value) << c.line;
  }

  // A new entry lets the later forms learn from the same line.
  SetBrain({});
  Rig({{23, 1}});
  EXPECT_EQ(Type("犬というのは猫とは違うだ"),
            (Lines{"太郎 > 犬というのは猫とは違うだ", "覚えました",
                   "覚えました", "そうだといいですね"}));
  ASSERT_EQ(stores().brain.Count(), 2);
  EXPECT_EQ(Value(0), "猫とは違う");
  EXPECT_EQ(Key(1), "犬というのは猫");
  EXPECT_EQ(Value(1), "違う");

  SetBrain({});
  Rig({{23, 1}});
  EXPECT_EQ(Type("猫だ"), (Lines{"太郎 > 猫だ", "そうだといいですね"}));
  EXPECT_EQ(stores().brain.Count(), 0);
}

TEST_F(LearningTest, RewritesKeepEachDefinitionOnceNewestFirst) {
  StartAs("太郎");
  // The topic rewrites the first key that begins with it.
  const std::pair<const char*, const char*> cases[] = {
      {"哺乳類", "動物＊哺乳類"},
      {"動物＊哺乳類", "動物＊哺乳類"},
      {"哺乳類＊動物＊猫科", "動物＊哺乳類＊猫科"},
      {"哺乳類＊動物", "動物＊哺乳類"},
      {"動物園＊哺乳類", "動物＊動物園＊哺乳類"},
      {"動物園＊動物", "動物＊動物園"},
      {"哺乳類＊大動物＊動物", "動物＊哺乳類＊大動物"},
      {"哺乳類＊動物園", "動物＊哺乳類＊動物園"},
      {"", "動物＊"},
  };
  for (auto [stored, rewritten] : cases) {
    SetBrain({{"犬", "忠実"}, {"猫舌", stored}, {"猫", "別"}});
    Rig({});
    EXPECT_EQ(Type("猫とは動物だ"),
              (Lines{"太郎 > 猫とは動物だ", "覚えました"}))
        << stored;
    EXPECT_EQ(Key(1), "猫舌");
    EXPECT_EQ(Value(1), rewritten) << stored;
    EXPECT_EQ(Value(2), "別");
    EXPECT_EQ(DrawsSinceRig(), 0);
  }
  SetBrain({{"猫", "動物"}});
  Type("猫とはだ");
  EXPECT_EQ(Value(0), "＊動物");
}

// A definition holding "＊" is stored as the definitions it joins; taught
// again, it moves to the front whole, never twice.
TEST_F(LearningTest, ADefinitionHoldingTheSeparatorTaughtAgain) {
  StartAs("太郎");
  SetBrain({{"猫", "動物"}});
  Type("猫とは可愛い＊賢いだ");
  EXPECT_EQ(Value(0), "可愛い＊賢い＊動物");
  Type("猫とは哺乳類だ");
  EXPECT_EQ(Value(0), "哺乳類＊可愛い＊賢い＊動物");
  Type("猫とは可愛い＊賢いだ");
  EXPECT_EQ(Value(0), "可愛い＊賢い＊哺乳類＊動物");
  Type("猫とは可愛い＊賢いだ");
  EXPECT_EQ(Value(0), "可愛い＊賢い＊哺乳類＊動物");
  // Only where it stands whole: here it stands only at the end.
  SetBrain({{"猫", "可愛い＊賢いね＊動物＊可愛い＊賢い"}});
  Type("猫とは可愛い＊賢いだ");
  EXPECT_EQ(Value(0), "可愛い＊賢い＊可愛い＊賢いね＊動物");
  EXPECT_EQ(stores().brain.Count(), 1);
}

// Rewriting a value read from brain.dat keeps the bytes it did not cut: a
// stray lead byte (81) before FA 54, whose preferred code 81 CA would pair
// with it.
TEST_F(LearningTest, RewritesKeepTheStoredBytes) {
  dir.WriteBytes("brain.dat", Sj("猫＝動物＊") + "\x81\xFA\x54\r\n");
  StartAs("太郎");
  Type("猫とは哺乳類だ");
  Type("猫とは動物だ");
  EXPECT_EQ(stores().brain.Value(0), Sj("動物＊哺乳類＊") + "\x81\xFA\x54");
  // A stray byte typed before the marker stays in the key as typed.
  input_line = "\x81\xFA\x54" + Sj("とは動物だ");
  Press();
  EXPECT_EQ(stores().brain.Key(1), "\x81\xFA\x54");
  companion.SaveQuietly();
  EXPECT_EQ(dir.ReadBytes("brain.dat"), Sj("猫＝動物＊哺乳類＊") +
                                            "\x81\xFA\x54\r\n\x81\xFA\x54" +
                                            Sj("＝動物\r\n"));
}

TEST_F(LearningTest, AssociationRemarksAndTheirDenial) {
  dir.WriteSj("brain.dat", "猫＝動物＊哺乳類＊猫科\r\n");
  StartAs("太郎");
  const char* remarks[] = {
      "猫 というのは 動物 ってことですよね", "猫 とは 動物 ということかな",
      "猫 って 動物 のことですね", "猫 と言えば 動物 ですね"};
  const char* denials[] = {"ちがうよ", "違う", "ちげーよ", "ちがう"};
  for (int32_t i = 0; i < 4; ++i) {
    Rig({{4, i}});
    EXPECT_EQ(Type("猫が好き"), (Lines{"太郎 > 猫が好き", remarks[i]}));
    EXPECT_EQ(state().follow_up, FollowUp::kOffered);
    EXPECT_EQ(Utf8(state().follow_up_key), "猫");
    EXPECT_EQ(Type(denials[i]).back(),
              "あれ じゃ 哺乳類 ってことかな 違うなら教えて下さい");
    EXPECT_EQ(state().follow_up, FollowUp::kNone);
    EXPECT_EQ(DrawsSinceRig(), 1);
  }
}

TEST_F(LearningTest, AgreementIsAcknowledgedAndTheTurnGoesOn) {
  dir.WriteSj("brain.dat", "猫＝動物＊哺乳類\r\n");
  StartAs("太郎");
  Rig({{4, 0}, {23, 5}});
  Type("猫かわいい");
  EXPECT_EQ(Type("そうそう"), (Lines{"太郎 > そうそう", "やっぱり そうですよね",
                                     "うん そうですよ"}));
  EXPECT_EQ(state().follow_up, FollowUp::kNone);
  EXPECT_EQ(DrawsSinceRig(), 2);

  Rig({{4, 0}, {4, 3}});
  Type("猫かわいい");
  EXPECT_EQ(Type("そうだね猫"),
            (Lines{"太郎 > そうだね猫", "やっぱり そうですよね",
                   "猫 と言えば 動物 ですね"}));
  EXPECT_EQ(state().follow_up, FollowUp::kOffered);

  // Quoting needs more than five phrases: the agreement stands alone.
  stores().phrase_log = PhraseLog();
  Rig({{23, 21}});
  EXPECT_EQ(Type("良く知ってるね"),
            (Lines{"太郎 > 良く知ってるね", "やっぱり そうですよね"}));
  EXPECT_EQ(DrawsSinceRig(), 1);
}

TEST_F(LearningTest, AWaitingRemarkOutlivesTurnsThatEndEarlier) {
  dir.WriteSj("brain.dat", "猫＝動物＊哺乳類\r\n眠＝睡眠＊休息\r\n");
  StartAs("太郎");
  Rig({{4, 0}, {3, 0}, {3, 0}});
  Type("猫かわいい");
  Type("こんにちは");
  Type("何それ？");
  EXPECT_EQ(Type("猫とは動物だ").back(), "覚えました");
  EXPECT_EQ(state().follow_up, FollowUp::kOffered);
  EXPECT_EQ(Type("違うよ").back(),
            "あれ じゃ 哺乳類 ってことかな 違うなら教えて下さい");

  // Anything else resets it, even a line that holds a key.
  Rig({{4, 0}, {23, 7}});
  Type("猫かわいい");
  EXPECT_EQ(Type("眠い").back(), "違うかもしれません");
  EXPECT_EQ(state().follow_up, FollowUp::kNone);
  EXPECT_EQ(DrawsSinceRig(), 2);
}

TEST_F(LearningTest, KeysWithoutTheWantedDefinitionArePassedOver) {
  StartAs("太郎");
  SetBrain({{"猫", "動物"}, {"子猫", "小さい猫＊幼獣"}});
  Rig({{4, 1}});
  EXPECT_EQ(Type("子猫かわいい").back(), "子猫 とは 小さい猫 ということかな");
  EXPECT_EQ(Type("ちがう").back(),
            "あれ じゃ 幼獣 ってことかな 違うなら教えて下さい");

  // Without a second definition the denied key itself meets the fallback.
  SetBrain({{"犬", "動物＊"}});
  Rig({{4, 0}, {23, 0}});
  EXPECT_EQ(Type("犬がいる").back(), "犬 というのは 動物 ってことですよね");
  EXPECT_EQ(Type("違う").back(), "犬ってどういうことでしょう");
  EXPECT_EQ(state().follow_up, FollowUp::kNone);
  EXPECT_EQ(DrawsSinceRig(), 2);

  // An empty key occurs nowhere; a value starting with "＊" offers nothing.
  SetBrain({{"", "空＊白"}, {"鳥", "＊翼"}});
  Rig({{23, 2}});
  EXPECT_EQ(Type("鳥だよ").back(), "いろいろ教えて下さい");
}

TEST_F(LearningTest, FallbackReplies) {
  std::string brain;
  for (int i = 0; i < 12; ++i) brain += "k" + std::to_string(i) + "＝v\r\n";
  dir.WriteSj("brain.dat", brain);
  dir.WriteSj("res.dat", "一\r\n二\r\n\r\n三\r\n");
  StartAs("太郎");
  const char* replies[] = {"うーんってどういうことでしょう",
                           "そうだといいですね",
                           "いろいろ教えて下さい",
                           "命令は可能なものならすべてします",
                           "今現在の単語記憶量は12語です",
                           "うん そうですよ",
                           "もちろん",
                           "違うかもしれません",
                           "変な反応ですか 勉強不足なんです",
                           "・・・",
                           "まだまだですね",
                           "『うーん』ですか 覚えておきますね",
                           "そんなこと言わないで下さい",
                           "最近良いことありましたか？",
                           "感情はないんです だから分からない",
                           "太郎さんもいつも楽しいわけじゃないんですね",
                           "太郎さんと話せて嬉しいな",
                           "おみくじでもしますか？ おみくじ と言って下さい",
                           "知識がいくら増えてもだめですね 太郎さんはすごいな",
                           "どうしよう 怒らせました？",
                           "それが一番ですね",
                           nullptr,
                           "うーんってなんですか？"};
  for (int32_t i = 0; i < 23; ++i) {
    if (replies[i] == nullptr) continue;
    Rig({{23, i}});
    EXPECT_EQ(Type("うーん"), (Lines{"太郎 > うーん", replies[i]})) << i;
    EXPECT_EQ(DrawsSinceRig(), 1);
  }
  // The PhraseLog holds 5 entries: quoting says nothing.
  Rig({{23, 21}});
  EXPECT_EQ(Type("うーん"), (Lines{"太郎 > うーん"}));
  EXPECT_EQ(stores().phrase_log.Count(), 5);
  EXPECT_EQ(DrawsSinceRig(), 1);
  // The sixth makes a quotation possible; the empty entry is quoted as such.
  Rig({{23, 21}, {6, 2}});
  EXPECT_EQ(Type("ふーむ"), (Lines{"太郎 > ふーむ", "『』"}));
  EXPECT_EQ(DrawsSinceRig(), 2);
  Rig({{23, 21}, {6, 5}});
  EXPECT_EQ(Type("ふーむ").back(), "『ふーむ』");
}

}  // namespace
}  // namespace holvan::testing
