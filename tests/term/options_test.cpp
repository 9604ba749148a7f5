#include <gtest/gtest.h>

#include <filesystem>

#include "random/random.h"
#include "term_process.h"

namespace holvan::testing {
namespace {

TEST(OptionsTest, HelpAndVersion) {
  TempDir dir;
  const TermRun help = RunTerm(dir, "", {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: holvan-term")) << help.out;
  EXPECT_EQ(help.err, "");
  const TermRun version = RunTerm(dir, "", {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "Holvan Ver1.0\n");
}

TEST(OptionsTest, RefusedArgumentsGiveUsageAndStatus2) {
  TempDir dir;
  dir.WriteBytes("holv.dat", "");
  const std::vector<std::vector<std::string>> refused = {
      {"--bogus"},
      {"extra"},
      {"--seed"},
      {"--seed", ""},
      {"--seed", "-1"},
      {"--seed", "+1"},
      {"--seed", "4294967296"},
      {"--seed", "12a"},
      {"--now", "2026-12-05"},
      {"--now", "2026-12-05T15:07:09"},
      {"--now", "2026-02-29 00:00:00"},
      {"--now", "2026-12-05 24:00:00"},
      {"--now", "2026-12-05 15:60:00"},
      {"--now", "2026-13-01 00:00:00"},
      {"--now", "0000-01-01 00:00:00"},
      {"--now", " 2026-12-05 15:07:09"},
  };
  for (const auto& args : refused) {
    const TermRun run = RunTerm(dir, "太郎\n", args);
    EXPECT_EQ(run.status, 2) << args.back();
    EXPECT_EQ(run.out, "") << args.back();
    EXPECT_NE(run.err.find("Usage: holvan-term"), std::string::npos);
  }
  // Nothing ran: the profile is as it was.
  EXPECT_EQ(dir.ReadBytes("holv.dat"), "");
}

TEST(OptionsTest, EdgesOfTheAcceptedValues) {
  TempDir dir;
  dir.WriteBytes("holv.dat", Profile(1, 0, 0));
  // Draw of three from the largest seed, and the leap day at midnight.
  Random random;
  random.SetSeed(4294967295u);
  const int greeting = random.Below(3);
  const char* kReplies[] = {"今日は天気はどうなんでしょう？\n",
                            "ご機嫌いかがですか？\n",
                            "今日はどんな事しましょう？\n"};
  const TermRun run =
      RunTerm(dir, "こんにちは\n",
              {"--seed=4294967295", "--now", "2024-02-29 00:05:09"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            std::string("どうも 太郎さん 今日は令和6年2月29日(木曜日)\n"
                        "時刻は午前12時05分09秒です\n"
                        "太郎 > こんにちは\n") +
                kReplies[greeting] + kClosing);
}

}  // namespace
}  // namespace holvan::testing
