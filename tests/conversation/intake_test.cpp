#include "conversation_fixture.h"

namespace holvan::testing {
namespace {

class IntakeTest : public ConversationTest {
 protected:
  // While no name is known the turn ends right after the name capture, so
  // logging and the Mood step are seen without any branch running.
  void TypeBeforeTheName(std::string_view utf8) {
    state().profile.user_name.clear();
    Type(utf8);
  }
};

TEST_F(IntakeTest, TheFirstLineBecomesTheNameAndNothingElse) {
  Type("太郎");
  EXPECT_EQ(companion.transcript().Text(),
            Sj("\r\n > 太郎\r\n太郎さんですね 記録しました\r\n"));
  EXPECT_EQ(view.appended,
            (std::vector<NarrowText>{Sj(" > 太郎\r\n"),
                                     Sj("太郎さんですね 記録しました\r\n")}));
  EXPECT_EQ(state().profile.user_name, Sj("太郎"));
  EXPECT_EQ(state().mode, Mode::kFree);
  EXPECT_TRUE(companion.stores().phrase_log.Contains(Sj("太郎")));
  EXPECT_EQ(input_line, "");

  // A question is a name too while none is known.
  Type("元気？");
  ASSERT_GE(view.appended.size(), 3u);
  EXPECT_EQ(view.appended[2], Sj("太郎 > 元気？\r\n"));
  TypeBeforeTheName("元気？");
  EXPECT_EQ(state().profile.user_name, Sj("元気？"));
  EXPECT_EQ(view.appended.back(), Sj("元気？さんですね 記録しました\r\n"));
}

TEST_F(IntakeTest, AnEmptyLineAsksForTheNameOrEndsTheTurnSilently) {
  Type("");
  EXPECT_EQ(view.appended, (std::vector<NarrowText>{
                               " > \r\n", Sj("お名前を入力して下さい\r\n")}));
  EXPECT_EQ(state().profile.user_name, "");

  view.appended.clear();
  state().profile.user_name = Sj("太郎");
  Type("");
  EXPECT_EQ(view.appended, std::vector<NarrowText>{Sj("太郎 > \r\n")});
  EXPECT_EQ(companion.stores().phrase_log.Count(), 0);
}

TEST_F(IntakeTest, ThePhraseLogKeepsEachDistinctLineOnce) {
  for (const char* line : {"abc", "ABC", "abc", "", "abc "}) {
    TypeBeforeTheName(line);
  }
  const PhraseLog& log = companion.stores().phrase_log;
  ASSERT_EQ(log.Count(), 3);
  EXPECT_EQ(log.Get(0), "abc");
  EXPECT_EQ(log.Get(1), "ABC");
  EXPECT_EQ(log.Get(2), "abc ");
}

// A break inside a stored line would split it in two at the next start, and
// a zero byte would end the reading of its file there.
TEST_F(IntakeTest, LineBreaksInTheInputBecomeSpacesAndZeroBytesGo) {
  dir.WriteBytes("res.dat", "");
  dir.WriteBytes("brain.dat", Sj("猫＝哺乳類\r\n"));
  companion.Start();
  Type(std::string("ab\rc\0d", 6));
  EXPECT_EQ(state().profile.user_name, "ab cd");
  EXPECT_EQ(view.appended[1], " > ab cd\r\n");
  for (const char* line : {"x\ry", "x\ny", "x y", "x\r\ny"}) Type(line);
  Type("猫とは動\n物だ");
  EXPECT_EQ(stores().brain.Value(0), Sj("動 物＊哺乳類"));
  companion.SaveQuietly();
  EXPECT_EQ(dir.ReadBytes("res.dat"),
            "ab cd\r\nx y\r\nx  y\r\n" + Sj("猫とは動 物だ") + "\r\n");
  EXPECT_EQ(dir.ReadBytes("brain.dat"), Sj("猫＝動 物＊哺乳類\r\n"));
}

TEST_F(IntakeTest, MoodNeedsTwoBrainEntries) {
  stores().brain.Add("", Sj("嬉しい"));
  state().profile.mood = 3;
  TypeBeforeTheName("嬉しい");
  EXPECT_EQ(state().profile.mood, 3);
}

TEST_F(IntakeTest, MoodMovesWithinItsBoundsByBytes) {
  Brain& brain = stores().brain;
  brain.Add("", Sj("嬉しい＊楽しい＊アイ"));
  brain.Add("", Sj("悲しい＊楽しい"));

  struct Case {
    const char* line;
    int32_t before;
    int32_t after;
  };
  const Case cases[] = {
      {"嬉しい", 5, 6},   {"嬉しい", 6, 6}, {"嬉しい", 7, 7},
      {"嬉しい", -1, 0},  {"悲しい", 1, 0}, {"悲しい", 0, 0},
      {"悲しい", -1, -1}, {"悲しい", 7, 6}, {"楽しい", 6, 5},
      {"楽しい", 0, 0},   {"楽しい", 3, 3}, {"楽しい", 7, 6},
      {"楽しい", -1, 0},  {"", 3, 3},       {"A", 2, 3},
      {"猫", 2, 2},
  };
  for (const Case& c : cases) {
    state().profile.mood = c.before;
    TypeBeforeTheName(c.line);
    EXPECT_EQ(state().profile.mood, c.after) << c.line << " from " << c.before;
  }
}

TEST_F(IntakeTest, DiaryLinesAreNotEchoedButStillLoggedAndWeighed) {
  stores().brain.Add("", Sj("嬉しい"));
  stores().brain.Add("", Sj("悲しい"));
  state().profile.user_name = Sj("太郎");
  state().mode = Mode::kDiary;
  state().profile.mood = 2;
  Type("嬉しい");
  EXPECT_EQ(companion.transcript().Text().find(" > "), NarrowText::npos);
  EXPECT_TRUE(companion.stores().phrase_log.Contains(Sj("嬉しい")));
  EXPECT_EQ(state().profile.mood, 3);
  EXPECT_EQ(input_line, "");
}

}  // namespace
}  // namespace holvan::testing
