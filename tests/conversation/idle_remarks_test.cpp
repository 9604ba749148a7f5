#include "conversation_fixture.h"

namespace holvan::testing {
namespace {

using IdleRemarksTest = ConversationTest;

TEST_F(IdleRemarksTest, FactsFromTheDictionary) {
  dir.WriteSj("dic.dat", "東京*日本の首都\r\n空*\r\n");
  StartAs("太郎");
  Rig({{10, 8}, {2, 0}});
  EXPECT_EQ(Tick(), (Lines{"東京 とは 日本の首都の事ですよ 知ってました？"}));
  Rig({{10, 9}, {2, 1}});
  EXPECT_EQ(Tick(), (Lines{"空 とは の事ですよ 知ってました？"}));
  EXPECT_EQ(DrawsSinceRig(), 2);
}

TEST_F(IdleRemarksTest, AnEmptyDictionaryStillDrawsButSaysNothing) {
  StartAs("太郎");
  for (int32_t roll : {8, 9}) {
    Rig({{10, roll}});
    EXPECT_TRUE(Tick().empty());
    EXPECT_EQ(DrawsSinceRig(), 2);
  }
}

TEST_F(IdleRemarksTest, SuggestionsAndRemarksOnTheRollOfThirty) {
  StartAs("太郎");
  const std::pair<int32_t, const char*> said[] = {
      {0, "日記でも書きませんか？"},
      {2, "たまにはホームページも見に行って下さい"},
      {4, "いつも太郎さんは何してるのかな"},
      {8, "独り言がうるさかったら 独り言禁止 と言って下さい"}};
  for (int32_t roll : {0, 1, 2}) {
    for (auto [second, remark] : said) {
      Rig({{10, roll}, {30, second}});
      EXPECT_EQ(Tick(), (Lines{remark})) << roll << " " << second;
      EXPECT_EQ(DrawsSinceRig(), 2);
    }
    for (int32_t second : {1, 3, 5, 10, 29}) {
      Rig({{10, roll}, {30, second}});
      EXPECT_TRUE(Tick().empty()) << second;
      EXPECT_EQ(DrawsSinceRig(), 2);
    }
  }
  for (int32_t roll : {3, 4, 5, 6, 7}) {
    Rig({{10, roll}});
    EXPECT_TRUE(Tick().empty()) << roll;
    EXPECT_EQ(DrawsSinceRig(), 1);
  }
}

TEST_F(IdleRemarksTest, QuotesThePhraseLogOnlyFromSixEntries) {
  dir.WriteSj("res.dat", "一\r\n\r\n三\r\n四\r\n五\r\n");
  Start();
  ASSERT_EQ(stores().phrase_log.Count(), 5);
  Rig({{10, 1}, {30, 9}});
  EXPECT_TRUE(Tick().empty());
  EXPECT_EQ(DrawsSinceRig(), 2);

  stores().phrase_log.Add(Sj("六"));
  Rig({{10, 2}, {30, 9}, {6, 1}});
  EXPECT_EQ(Tick(), (Lines{"『』"}));
  EXPECT_EQ(DrawsSinceRig(), 3);
  Rig({{10, 0}, {30, 9}, {6, 5}});
  EXPECT_EQ(Tick(), (Lines{"『六』"}));
  // No name yet: the remark about the user still comes, without it.
  Rig({{10, 0}, {30, 4}});
  EXPECT_EQ(Tick(), (Lines{"いつもさんは何してるのかな"}));
}

}  // namespace
}  // namespace holvan::testing
