#include <gtest/gtest.h>

#include <filesystem>

#include "random/random.h"
#include "support/program_run.h"
#include "term_process.h"

namespace holvan::testing {
namespace {

TEST(OptionsTest, HelpAndVersion) {
  TempDir dir;
  const TermRun help = RunTerm(dir, "", {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: holvan-term")) << help.out;
  EXPECT_EQ(help.err, "");
  const TermRun short_help = RunTerm(dir, "", {"-h"});
  EXPECT_EQ(short_help.status, 0);
  EXPECT_EQ(short_help.out, help.out);
  // The release, then the version dialog's text.
  const TermRun version = RunTerm(dir, "", {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "holvan-term " HOLVAN_VERSION
                         "\n"
                         "Holvan Ver1.0\n"
                         "\n"
                         "同じフォルダに辞書ファイルを名前\n"
                         "dic.datで置いておくと，質問して\n"
                         "聞くことができます。他もろもろ。\n"
                         "\n"
                         "詳しくはHPへ\n"
                         "(C) Holvan 開発チーム MIT\n"
                         "\n"
                         "This holvan-term binary links GNU Readline and is "
                         "therefore distributed\n"
                         "under the GNU GPL version 3 or later; its sources "
                         "are under the MIT (Expat)\n"
                         "licence. There is NO WARRANTY.\n");
}

TEST(OptionsTest, RefusedArgumentsGiveUsageAndStatus2) {
  TempDir dir;
  dir.WriteBytes("holv.dat", "");
  const std::string seed = "--seed needs a number from 0 to 4294967295";
  const std::string now = "--now needs a valid \"YYYY-MM-DD HH:MM:SS\"";
  // The arguments and the first line of the complaint.
  const std::vector<std::pair<std::vector<std::string>, std::string>> refused =
      {
          {{"--bogus"}, "unknown argument '--bogus'"},
          {{"-x"}, "unknown argument '-x'"},
          {{"--help=1"}, "unknown argument '--help=1'"},
          {{"extra"}, "unknown argument 'extra'"},
          // The first wrong argument counts, even before --help.
          {{"--seed", "1", "extra", "--help"}, "unknown argument 'extra'"},
          {{"--seed"}, seed},
          {{"--seed", ""}, seed},
          {{"--seed", "-1"}, seed},
          {{"--seed", "+1"}, seed},
          {{"--seed", "4294967296"}, seed},
          {{"--seed", "12a"}, seed},
          {{"--seed= 1"}, seed},
          {{"--now"}, now},
          {{"--now", "2026-12-05"}, now},
          {{"--now", "2026-12-05T15:07:09"}, now},
          {{"--now", "2026-02-29 00:00:00"}, now},
          {{"--now", "2026-12-05 24:00:00"}, now},
          {{"--now", "2026-12-05 15:60:00"}, now},
          {{"--now", "2026-13-01 00:00:00"}, now},
          {{"--now", "0000-01-01 00:00:00"}, now},
          {{"--now", " 2026-12-05 15:07:09"}, now},
          // What the terminal would take for a command shows as U+FFFD.
          {{"\x1b[2J"}, "unknown argument '\uFFFD[2J'"},
      };
  for (const auto& [args, problem] : refused) {
    const TermRun run = RunTerm(dir, "太郎\n", args);
    EXPECT_EQ(run.status, 2) << args.back();
    EXPECT_EQ(run.out, "") << args.back();
    EXPECT_EQ(run.err,
              "holvan-term: " + problem +
                  "\nTry 'holvan-term --help' for more information.\n");
  }
  // Nothing ran: the profile is as it was.
  EXPECT_EQ(dir.ReadBytes("holv.dat"), "");
}

TEST(OptionsTest, HelpAndProblemsInAJapaneseUsersLanguage) {
  TempDir dir;
  const EnvironmentChanges japanese = {{"LC_ALL", std::nullopt},
                                       {"LC_MESSAGES", std::nullopt},
                                       {"LANG", "ja_JP.UTF-8"}};
  const ProgramRun help =
      RunProgram(HOLVAN_TERM_PATH, {"--help"}, dir.path(), "", japanese);
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("使い方: holvan-term")) << help.out;
  const std::vector<std::pair<std::vector<std::string>, std::string>> refused =
      {
          {{"--bogus"}, "知らない引数です: --bogus"},
          {{"--seed", "-1"},
           "--seed には 0 から 4294967295 までの数が要ります"},
          {{"--now"}, "--now には正しい \"YYYY-MM-DD HH:MM:SS\" が要ります"},
      };
  for (const auto& [args, problem] : refused) {
    const ProgramRun run =
        RunProgram(HOLVAN_TERM_PATH, args, dir.path(), "", japanese);
    EXPECT_EQ(run.status, 2) << args[0];
    EXPECT_EQ(run.err,
              "holvan-term: " + problem + "\n詳しくは holvan-term --help\n");
  }
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
