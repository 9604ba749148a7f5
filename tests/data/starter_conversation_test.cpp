#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/starter_data.h"
#include "support/companion_in_folder.h"
#include "text/cp932.h"

namespace holvan::testing {
namespace {

// The companion started on a fresh copy of the starter files, as the launcher
// leaves them, with a user who has already given a name.
class StarterConversationTest : public ::testing::Test,
                                public CompanionInFolder<> {
 protected:
  StarterConversationTest() {
    for (const char* name : {"dic.dat", "brain.dat", "res.dat"}) {
      dir.WriteBytes(name, ReadStarterFile(name));
    }
    dir.WriteSj("holv.dat", "太郎\r\n");
    companion.Start();
  }

  /// One turn; returns the last Transcript line it left.
  NarrowText Type(const NarrowText& line) {
    TypeAndPress(line);
    const TextLines& transcript = companion.transcript();
    return transcript.Get(transcript.Count() - 1);
  }
};

// A key the question branch cannot cut out of 「keyは？」 (a は inside it, say)
// would be dead weight.
TEST_F(StarterConversationTest, EveryDictionaryKeyAnswersItsQuestion) {
  const Dictionary& dictionary = companion.stores().dictionary;
  ASSERT_EQ(static_cast<std::size_t>(dictionary.Count()),
            CrLfLines(ReadStarterFile("dic.dat")).size());
  for (int32_t i = 0; i < dictionary.Count(); ++i) {
    const NarrowText key(dictionary.Key(i));
    SCOPED_TRACE(NarrowToUtf8(key));
    EXPECT_EQ(
        NarrowToUtf8(Type(key + Sj("は？"))),
        NarrowToUtf8(key + Sj(" とは ") + NarrowText(dictionary.Value(i)) +
                     Sj(" という事らしいです")));
  }
}

// Mentioning a key brings up its newest definition; denying it brings up the
// next. An earlier key hidden inside a later one would take its place.
TEST_F(StarterConversationTest, EveryStarterDefinitionComesUpWhenMentioned) {
  const Brain& brain = companion.stores().brain;
  ASSERT_GT(brain.Count(), 2);
  for (int32_t i = 2; i < brain.Count(); ++i) {
    const NarrowText key(brain.Key(i));
    const NarrowText value(brain.Value(i));
    SCOPED_TRACE(NarrowToUtf8(key));
    const auto first = SplitAt(value, Sj("＊"));
    ASSERT_TRUE(first.has_value());
    const auto second = SplitAt(first->second, Sj("＊"));
    const NarrowText older = second ? second->first : first->second;

    const NarrowText remark = Type(Sj("そういえば") + key + Sj("の話"));
    const std::vector<NarrowText> remarks = {
        key + Sj(" というのは ") + first->first + Sj(" ってことですよね"),
        key + Sj(" とは ") + first->first + Sj(" ということかな"),
        key + Sj(" って ") + first->first + Sj(" のことですね"),
        key + Sj(" と言えば ") + first->first + Sj(" ですね")};
    EXPECT_TRUE(std::ranges::find(remarks, remark) != remarks.end())
        << NarrowToUtf8(remark);
    EXPECT_EQ(NarrowToUtf8(Type(Sj("違うよ"))),
              NarrowToUtf8(Sj("あれ じゃ ") + older +
                           Sj(" ってことかな 違うなら教えて下さい")));
  }
}

TEST_F(StarterConversationTest, KindWordsRaiseTheMoodAndUnkindOnesLowerIt) {
  ASSERT_EQ(companion.state().profile.mood, 0);
  Type(Sj("ありがとう"));
  Type(Sj("すごいね"));
  EXPECT_EQ(companion.state().profile.mood, 2);
  Type(Sj("うざい"));
  EXPECT_EQ(companion.state().profile.mood, 1);
}

}  // namespace
}  // namespace holvan::testing
