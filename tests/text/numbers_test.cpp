#include "text/numbers.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::Sj;

TEST(NumbersTest, ParseIntOrAcceptsOnlyTheTwoForms) {
  EXPECT_EQ(ParseIntOr("  7", 0), 7);
  EXPECT_EQ(ParseIntOr("+3", 0), 3);
  EXPECT_EQ(ParseIntOr("-0", 9), 0);
  EXPECT_EQ(ParseIntOr("007", 0), 7);
  EXPECT_EQ(ParseIntOr("-2147483648", 0), INT32_MIN);
  EXPECT_EQ(ParseIntOr("2147483647", 0), INT32_MAX);
  EXPECT_EQ(ParseIntOr("2147483648", 0), 0);
  EXPECT_EQ(ParseIntOr("-2147483649", 0), 0);
  EXPECT_EQ(ParseIntOr("99999999999999999999999", 0), 0);
  EXPECT_EQ(ParseIntOr("0000000000000000000012", 0), 12);
  EXPECT_EQ(ParseIntOr("$1F", 0), 31);
  EXPECT_EQ(ParseIntOr("$ffffffff", 0), -1);
  EXPECT_EQ(ParseIntOr("$80000000", 0), INT32_MIN);
  EXPECT_EQ(ParseIntOr(" $000000000000A", 0), 10);
  EXPECT_EQ(ParseIntOr("$100000000", 0), 0);
  for (const char* bad : {"", "   ", "+", "-", "$", "7 ", "- 5", "0x10", "1.5",
                          "-$1", "+$1", "$1G", "\t7", "12a", "--1", "$ 1"}) {
    EXPECT_EQ(ParseIntOr(bad, 1), 1) << bad;
  }
  EXPECT_EQ(ParseIntOr(Sj("１２"), 1), 1);
  EXPECT_EQ(ParseIntOr(Sj("　7"), 1), 1);
  EXPECT_EQ(ParseIntOr(std::string("7\0", 2), 1), 1);
}

TEST(NumbersTest, IntTextAndFormatText) {
  EXPECT_EQ(IntText(-5), "-5");
  EXPECT_EQ(IntText(0), "0");
  EXPECT_EQ(IntText(INT32_MAX), "2147483647");
  EXPECT_EQ(IntText(INT32_MIN), "-2147483648");
  EXPECT_EQ(FormatText(Sj("パソコンを起動してから %d時間%d分%d秒"), {2, 5, 9}),
            Sj("パソコンを起動してから 2時間5分9秒"));
  EXPECT_EQ(FormatText("%d%%d%", {1, -2}), "1%-2%");
  EXPECT_EQ(FormatText("%d and %d", {7}), "7 and %d");
}

}  // namespace
}  // namespace holvan
