#include <gtest/gtest.h>

#include "term_process.h"

namespace holvan::testing {
namespace {

class TickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.WriteBytes("holv.dat", Profile(1, 0, 0));
    dir_.WriteSj("dic.dat", "大阪*商人の町\r\n京都*古い都\r\n奈良*鹿の町\r\n");
    dir_.WriteSj("res.dat", "いち\r\nに\r\nさん\r\nよん\r\nご\r\nろく\r\n");
  }

  // What one tick says after the greeting, for the seed that draws these.
  std::string Remark(std::initializer_list<std::pair<int, int>> draws) {
    const TermRun run = RunTerm(dir_, "/tick\n", SeedAndNow(SeedGiving(draws)));
    EXPECT_EQ(run.status, 0);
    const std::string head = kGreeting;
    const std::string tail = kClosing;
    if (run.out.size() < head.size() + tail.size() ||
        !run.out.starts_with(head) || !run.out.ends_with(tail)) {
      ADD_FAILURE() << run.out;
      return "";
    }
    return run.out.substr(head.size(),
                          run.out.size() - head.size() - tail.size());
  }

  TempDir dir_;
};

TEST_F(TickTest, EachBranchOfTheTick) {
  EXPECT_EQ(Remark({{10, 9}, {3, 1}}),
            "京都 とは 古い都の事ですよ 知ってました？\n");
  EXPECT_EQ(Remark({{10, 0}, {30, 0}}), "日記でも書きませんか？\n");
  EXPECT_EQ(Remark({{10, 1}, {30, 2}}),
            "たまにはホームページも見に行って下さい\n");
  EXPECT_EQ(Remark({{10, 2}, {30, 4}}), "いつも太郎さんは何してるのかな\n");
  EXPECT_EQ(Remark({{10, 0}, {30, 8}}),
            "独り言がうるさかったら 独り言禁止 と言って下さい\n");
  EXPECT_EQ(Remark({{10, 1}, {30, 9}, {6, 3}}), "『よん』\n");
  EXPECT_EQ(Remark({{10, 2}, {30, 5}}), "");
  EXPECT_EQ(Remark({{10, 5}}), "");
  // A tick is no turn: nothing was typed.
  EXPECT_EQ(dir_.ReadBytes("res.dat"),
            Sj("いち\r\nに\r\nさん\r\nよん\r\nご\r\nろく\r\n"));
}

TEST_F(TickTest, OnlyWhileTheSwitchIsOn) {
  const TermRun run = RunTerm(dir_, "独り言禁止\n/tick\n独り言許可\n/tick\n",
                              SeedAndNow(SeedGiving({{10, 8}, {3, 0}})));
  EXPECT_EQ(run.out,
            kGreeting +
                "太郎 > 独り言禁止\n"
                "わかりました してもいい時は 独り言許可 と言って下さい\n"
                "太郎 > 独り言許可\n"
                "了解しました\n"
                "大阪 とは 商人の町の事ですよ 知ってました？\n" +
                kClosing);
}

TEST_F(TickTest, WithoutAName) {
  TempDir dir;
  const TermRun run =
      RunTerm(dir, "/tick\n", SeedAndNow(SeedGiving({{10, 2}, {30, 4}})));
  EXPECT_EQ(run.out,
            "お名前を教えて下さい\n"
            "いつもさんは何してるのかな\n" +
                kClosing);
}

}  // namespace
}  // namespace holvan::testing
