#include "conversation/branches.h"
#include "conversation_fixture.h"

namespace holvan::testing {
namespace {

using QuestionsTest = ConversationTest;

TEST_F(QuestionsTest, TeachesTokyoAndAnswersFromTheDictionaryAfterwards) {
  dir.WriteSj("dic.dat", "大阪*日本の都市\r\n");
  StartAs("太郎");
  Rig({});

  EXPECT_EQ(Type("東京は？"),
            (Lines{"太郎 > 東京は？",
                   "東京 についての情報がありません 教えて下さい"}));
  EXPECT_EQ(state().mode, Mode::kAwaitDefinition);
  EXPECT_FALSE(view.idle_enabled);

  EXPECT_EQ(Type("日本の首都"),
            (Lines{"太郎 > 日本の首都",
                   "東京 は 日本の首都 という事ですか？記憶してもいいですか？",
                   "だめ か いいよ で答えて下さい"}));
  EXPECT_EQ(state().mode, Mode::kAwaitConsent);
  EXPECT_EQ(input_line, Sj("いいよ"));
  EXPECT_FALSE(view.idle_enabled);

  EXPECT_EQ(Press(), (Lines{"太郎 > いいよ", "ありがとう 覚えました"}));
  EXPECT_EQ(state().mode, Mode::kFree);
  EXPECT_TRUE(view.idle_enabled);
  ASSERT_EQ(stores().dictionary.Count(), 2);
  EXPECT_EQ(Utf8(stores().dictionary.Key(1)), "東京");
  EXPECT_EQ(Utf8(stores().dictionary.Value(1)), "日本の首都");

  EXPECT_EQ(Type("東京って何？"),
            (Lines{"太郎 > 東京って何？",
                   "東京 とは 日本の首都 という事らしいです"}));
  EXPECT_EQ(state().mode, Mode::kFree);
  EXPECT_FALSE(view.idle_enabled);
  EXPECT_EQ(DrawsSinceRig(), 0);
}

TEST_F(QuestionsTest, ConsentTakesOnlyTheExactAnswers) {
  dir.WriteSj("dic.dat", "大阪*日本の都市\r\n");
  StartAs("太郎");

  Type("京都は？");
  EXPECT_EQ(Type(""),
            (Lines{"太郎 > ", "京都 は  という事ですか？記憶してもいいですか？",
                   "だめ か いいよ で答えて下さい"}));
  EXPECT_EQ(Type("だめ"), (Lines{"太郎 > だめ", "そうですね すみません"}));
  EXPECT_EQ(state().mode, Mode::kFree);
  EXPECT_TRUE(view.idle_enabled);

  Type("京都は？");
  Type("古都");
  EXPECT_EQ(
      Type("いいよ "),
      (Lines{"太郎 > いいよ ",
             "何を言っているのかわかりません もうこの話題はやめましょう"}));
  EXPECT_EQ(stores().dictionary.Count(), 1);
  EXPECT_TRUE(view.idle_enabled);
}

TEST_F(QuestionsTest, AnswersQuestionsAboutItselfAndAsksForTheGender) {
  dir.WriteSj("dic.dat", "名前*なまえ\r\n");
  StartAs("花子");
  Rig({});
  for (const char* line :
       {"元気？", "そっちは?", "おまえは？", "お前は？", "あなたは？"}) {
    EXPECT_EQ(Type(line).back(), "さぁ どうなんでしょう") << line;
  }
  EXPECT_EQ(Type("名前は？").back(), "Holvanです");
  EXPECT_EQ(Type("性別は？").back(), "花子さんは女性ですか?男性ですか?");
  EXPECT_EQ(state().mode, Mode::kAwaitGender);
  EXPECT_TRUE(view.idle_enabled);

  // The pending answer takes a question too.
  EXPECT_EQ(Type("元気？").back(), "そうですか 好きな人はいますか？");
  EXPECT_EQ(state().mode, Mode::kFree);
  Type("性別");
  EXPECT_EQ(Type("女です").back(), "そうですか 嬉しいな");
  Type("性別");
  EXPECT_EQ(Type("一応女").back(), "一応てなんですか？");
  Type("性別");
  EXPECT_EQ(Type("").back(), "そうですか 好きな人はいますか？");
  EXPECT_EQ(state().mode, Mode::kFree);
  EXPECT_EQ(DrawsSinceRig(), 0);
}

TEST_F(QuestionsTest, TheEarliestQualifyingPositionEndsTheTopic) {
  dir.WriteSj("dic.dat",
              "東京*首都\r\n東*方角\r\n東京って何*謎\r\n東京 *空白\r\n");
  StartAs("太郎");
  EXPECT_EQ(Type("東京って何は？").back(), "東京 とは 首都 という事らしいです");
  EXPECT_EQ(Type("東は京って何？").back(), "東 とは 方角 という事らしいです");
  EXPECT_EQ(Type("東京ってなに？").back(), "東京 とは 首都 という事らしいです");
  EXPECT_EQ(Type("東京って知ってる?").back(),
            "東京 とは 首都 という事らしいです");
  EXPECT_EQ(Type("東京 は？").back(), "東京  とは 空白 という事らしいです");
  EXPECT_EQ(Utf8(state().pending_topic), "東京 ");
  // A full-width space is another character: no such key.
  EXPECT_EQ(Type("東京　は？").back(),
            "東京　 についての情報がありません 教えて下さい");
}

TEST_F(QuestionsTest, QuestionsWithoutATopicGetARandomReply) {
  StartAs("太郎");
  // No Dictionary: no topic can be looked up.
  Rig({{3, 0}});
  EXPECT_EQ(Type("東京は？").back(), "言ってることがわかりません すいません");
  EXPECT_EQ(DrawsSinceRig(), 1);
  EXPECT_FALSE(view.idle_enabled);
  EXPECT_EQ(state().mode, Mode::kFree);

  stores().dictionary.Add(Sj("東京"), Sj("首都"));
  const std::pair<const char*, int32_t> cases[] = {{"？", 1},
                                                   {"は？", 2},
                                                   {"東京っす？", 0},
                                                   {"東京って？", 1},
                                                   {"京都?", 2}};
  const char* replies[] = {"言ってることがわかりません すいません",
                           "よくわからないです 説明してくれると嬉しいです",
                           "そうですよね やっぱあれですよねあれ"};
  for (auto [line, draw] : cases) {
    Rig({{3, draw}});
    EXPECT_EQ(Type(line).back(), replies[draw]) << line;
    EXPECT_EQ(DrawsSinceRig(), 1) << line;
  }
}

TEST_F(QuestionsTest, AQuestionLeavesAnAngerModeAsItWas) {
  dir.WriteSj("dic.dat", "東京*首都\r\n");
  StartAs("太郎");
  Type("ばか");
  EXPECT_EQ(Type("東京は？").back(), "東京 とは 首都 という事らしいです");
  EXPECT_EQ(state().mode, Mode::kAngry1);
  EXPECT_EQ(Type("大阪は？").back(),
            "大阪 についての情報がありません 教えて下さい");
  EXPECT_EQ(state().mode, Mode::kAwaitDefinition);
}

}  // namespace
}  // namespace holvan::testing
