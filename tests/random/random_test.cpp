#include "random/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace holvan {
namespace {

TEST(RandomTest, SequenceFromZero) {
  Random random;
  std::vector<int32_t> draws;
  std::vector<uint32_t> states;
  for (int i = 0; i < 5; ++i) {
    draws.push_back(random.Below(10));
    states.push_back(random.seed());
  }
  EXPECT_EQ(draws, (std::vector<int32_t>{0, 0, 8, 2, 2}));
  EXPECT_EQ(states, (std::vector<uint32_t>{1, 134775814, 3698175007u, 870078620,
                                           1172187917}));
}

TEST(RandomTest, SequenceFromAClockSeed) {
  Random random;
  random.SetSeed(SeedFromTimeOfDay(12, 34, 56, 789));
  EXPECT_EQ(random.seed(), 45296789u);
  std::vector<int32_t> draws;
  for (int32_t n : {10, 3, 23, 30, 5}) draws.push_back(random.Below(n));
  EXPECT_EQ(draws, (std::vector<int32_t>{4, 0, 8, 0, 3}));
  EXPECT_EQ(SeedFromTimeOfDay(23, 59, 59, 999), 86399999u);
}

TEST(RandomTest, ZeroAndOneStillAdvanceTheState) {
  Random random;
  EXPECT_EQ(random.Below(0), 0);
  EXPECT_EQ(random.seed(), 1u);
  random.SetSeed(0xFFFFFFFF);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(random.Below(1), 0);
  random.SetSeed(0xFFFFFFFF);
  random.Below(INT32_MAX);
  uint32_t after_one = random.seed();
  random.SetSeed(0xFFFFFFFF);
  random.Below(-4);
  EXPECT_EQ(random.seed(), after_one);
  random.SetSeed(0);
  for (int i = 0; i < 1000; ++i) {
    int32_t draw = random.Below(INT32_MAX);
    ASSERT_GE(draw, 0);
    ASSERT_LT(draw, INT32_MAX);
  }
}

}  // namespace
}  // namespace holvan
