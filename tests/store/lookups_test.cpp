#include <gtest/gtest.h>

#include <vector>

#include "store/brain.h"
#include "store/dictionary.h"
#include "support/temp_dir.h"
#include "text/cp932.h"

namespace holvan {
namespace {

using testing::Sj;

TEST(BrainTest, FindKeyStartingWithComparesBytesAndTakesTheFirst) {
  Brain brain;
  brain.Add(Sj("猫の手"), "1");
  brain.Add(Sj("猫"), "2");
  brain.Add(Sj("ア"), "3");
  EXPECT_EQ(brain.FindKeyStartingWith(Sj("猫")), 0);
  EXPECT_EQ(brain.FindKeyStartingWith(Sj("猫の手も")), -1);
  EXPECT_EQ(brain.FindKeyStartingWith(""), -1);
  // "A" is the second byte of "ア", not its beginning.
  EXPECT_EQ(brain.FindKeyStartingWith("A"), -1);
  EXPECT_EQ(brain.FindKeyStartingWith("\x83"), 2);
}

TEST(BrainTest, ForEachKeyInVisitsKeysFoundByCharactersInOrder) {
  Brain brain;
  brain.Add("", "0");
  brain.Add(Sj("猫"), "1");
  brain.Add("A", "2");
  brain.Add(Sj("ネコ"), "3");
  brain.Add(Sj("猫"), "4");
  const WideText line = ToWide(Sj("アネコと猫"));

  std::vector<int32_t> all;
  brain.ForEachKeyIn(line, [&](int32_t i) {
    all.push_back(i);
    return false;
  });
  EXPECT_EQ(all, (std::vector<int32_t>{1, 3, 4}));

  std::vector<int32_t> until_first;
  brain.ForEachKeyIn(line, [&](int32_t i) {
    until_first.push_back(i);
    return true;
  });
  EXPECT_EQ(until_first, (std::vector<int32_t>{1}));
}

TEST(DictionaryTest, FindMatchesWholeKeysAndTakesTheFirst) {
  Dictionary dictionary;
  dictionary.Add(Sj("東京都"), "a");
  dictionary.Add(Sj("東京"), "b");
  dictionary.Add(Sj("東京"), "c");
  EXPECT_EQ(dictionary.Find(Sj("東京")), 1);
  EXPECT_EQ(dictionary.Find(Sj("東")), -1);
  EXPECT_EQ(dictionary.Find(Sj("東京 ")), -1);
}

}  // namespace
}  // namespace holvan
