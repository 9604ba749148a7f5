#include "conversation_fixture.h"

namespace holvan::testing {
namespace {

using MenusTest = ConversationTest;

const std::vector<std::string> kCommandMenu = {
    "何かしますか？", "１: マインスイーパ起動 ２: メモ帳起動",
    "３: 電卓起動 ４: 起動させるプログラム名を言う",
    "番号を言って下さい たぶんできます"};

TEST_F(MenusTest, TheCommandMenuOpensOnlyOnItsExactKeywords) {
  StartAs("太郎");
  for (const char* line : {"命令して", "command"}) {
    Lines said = Type(line);
    said.erase(said.begin());
    EXPECT_EQ(said, kCommandMenu) << line;
    EXPECT_EQ(state().mode, Mode::kCommandMenu);
    Type("");
  }
  // Anything else goes on to the free conversation.
  for (const char* line : {"Command", "command ", "commands"}) {
    Rig({{23, 6}});
    EXPECT_EQ(Type(line).back(), "もちろん") << line;
    EXPECT_EQ(state().mode, Mode::kFree);
  }
  // A question is never a menu.
  Rig({{3, 1}});
  EXPECT_EQ(Type("命令？").back(),
            "よくわからないです 説明してくれると嬉しいです");
  EXPECT_EQ(state().mode, Mode::kFree);
}

TEST_F(MenusTest, CommandMenuAnswersStartProgramsOrEndTheMenu) {
  StartAs("太郎");
  const std::pair<const char*, const char*> starts[] = {
      {"1", "winmine.exe"},  {"１", "winmine.exe"}, {"2", "notepad.exe"},
      {"２", "notepad.exe"}, {"3", "calc.exe"},     {"３", "calc.exe"}};
  for (auto [answer, program] : starts) {
    Type("命令");
    platform.started.clear();
    EXPECT_EQ(Type(answer), (Lines{"太郎 > " + std::string(answer)}));
    EXPECT_EQ(platform.started, (std::vector<NarrowText>{program})) << answer;
    EXPECT_EQ(state().mode, Mode::kFree);
  }
  platform.started.clear();
  for (const char* answer : {"1 ", "１です", "命令", "", "5"}) {
    Type("命令");
    EXPECT_EQ(Type(answer).back(), "何を言っているのかわかりません") << answer;
    EXPECT_EQ(state().mode, Mode::kFree);
  }
  EXPECT_TRUE(platform.started.empty());

  // An empty command line ends the mode in silence.
  Type("命令");
  EXPECT_EQ(Type("4").back(), "それでは言ってみて下さい");
  EXPECT_EQ(state().mode, Mode::kAwaitProgram);
  EXPECT_EQ(Type(""), (Lines{"太郎 > "}));
  EXPECT_EQ(state().mode, Mode::kFree);

  Type("命令");
  EXPECT_EQ(Type("４").back(), "それでは言ってみて下さい");
  platform.started.clear();
  const std::string command = "touch '" + dir.File("ran") + "'";
  EXPECT_EQ(Type(command).size(), 1u);
  EXPECT_EQ(platform.started, (std::vector<NarrowText>{Sj(command)}));
  EXPECT_EQ(state().mode, Mode::kFree);
  EXPECT_TRUE(stores().phrase_log.Contains(Sj(command)));
}

TEST_F(MenusTest, TheQuestionMenuReportsTheUptime) {
  StartAs("太郎");
  EXPECT_EQ(Type("質問です"),
            (Lines{"太郎 > 質問です", "なんでしょう？",
                   "１: パソコンを起動してからの時間が知りたい",
                   "番号を言って下さい 調べてみます"}));
  EXPECT_EQ(state().mode, Mode::kQuestionMenu);
  platform.uptime_ms = ((2 * 60 + 5) * 60 + 9) * 1000 + 999;
  EXPECT_EQ(Type("1").back(), "パソコンを起動してから 2時間5分9秒");
  EXPECT_EQ(state().mode, Mode::kFree);

  const uint64_t hour = 3600 * 1000;
  platform.uptime_ms = 6 * hour - 1;
  Type("質問");
  EXPECT_EQ(Type("１"),
            (Lines{"太郎 > １", "パソコンを起動してから 5時間59分59秒"}));
  platform.uptime_ms = 6 * hour;
  Type("質問");
  EXPECT_EQ(Type("1"), (Lines{"太郎 > 1", "パソコンを起動してから 6時間0分0秒",
                              "6時間ですか たまには目を休めて下さいね"}));
  // Beyond the 32-bit millisecond counts.
  platform.uptime_ms = 1200 * hour + 61000;
  Type("質問");
  EXPECT_EQ(Type("1")[1], "パソコンを起動してから 1200時間1分1秒");

  for (const char* answer : {"2", "4", "", "1 "}) {
    Type("質問");
    EXPECT_EQ(Type(answer).back(), "何を言っているのかわかりません") << answer;
    EXPECT_EQ(state().mode, Mode::kFree);
  }
}

TEST_F(MenusTest, AMenuReplacesAnAngerMode) {
  StartAs("太郎");
  Type("ばか");
  Type("質問");
  Type("3");
  EXPECT_EQ(state().mode, Mode::kFree);
  Type("ばか");
  EXPECT_EQ(Type("しね").back(), "すいません もうしないので許して下さい");
}

}  // namespace
}  // namespace holvan::testing
