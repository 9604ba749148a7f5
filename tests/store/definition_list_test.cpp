#include "store/definition_list.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::Sj;

std::vector<NarrowText> SjList(std::initializer_list<const char*> texts) {
  std::vector<NarrowText> list;
  for (const char* text : texts) list.push_back(Sj(text));
  return list;
}

TEST(DefinitionListTest, SplitsAtEveryFullWidthAsteriskByCharacters) {
  EXPECT_TRUE(SplitDefinitions("").empty());
  EXPECT_EQ(SplitDefinitions(Sj("動物")), SjList({"動物"}));
  EXPECT_EQ(SplitDefinitions(Sj("哺乳類＊動物＊猫科")),
            SjList({"哺乳類", "動物", "猫科"}));
  EXPECT_EQ(SplitDefinitions(Sj("＊動物＊")), SjList({"", "動物", ""}));
  // メ本 is 83 81 96 7B: the bytes of ＊ (81 96) across two characters.
  EXPECT_EQ(SplitDefinitions(Sj("メ本＊a")), SjList({"メ本", "a"}));
  // The ASCII asterisk is an ordinary character here.
  EXPECT_EQ(SplitDefinitions("a*b"), SjList({"a*b"}));

  for (const char* value : {"哺乳類＊動物＊猫科", "＊動物＊", "メ本", ""}) {
    EXPECT_EQ(JoinDefinitions(SplitDefinitions(Sj(value))), Sj(value));
  }
}

}  // namespace
}  // namespace holvan
