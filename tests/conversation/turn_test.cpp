#include "conversation/turn.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "errors/error.h"
#include "errors/failure.h"
#include "support/companion_in_folder.h"

namespace holvan::testing {
namespace {

// Starting a program fails: the turn that names it raises.
class RefusingPlatform : public FakePlatform {
 public:
  void StartProgram(const NarrowText&) override { throw Error(Sj("起動失敗")); }
};

// A front end's guard: counts the events and the failures it reported.
struct CountingGuard {
  bool operator()(const std::function<void()>& event) {
    ++events;
    const bool failed = FailureOf(event).has_value();
    failures += failed ? 1 : 0;
    return !failed;
  }
  int events = 0;
  int failures = 0;
};

// What a front end is left with after each kind of turn: the line the turn
// suggests, nothing after a failed turn, and the close only when asked and
// only as it went.
TEST(RunTurnTest, LeavesTheSuggestedLineAndClosesOnlyWhenAskedAndDone) {
  struct Case {
    const char* name;
    std::vector<const char*> lines;  // the last is the one under test
    bool close_fails;
    const char* input_line;
    bool closed;
    int events;
    int failures;
    int closes;
  };
  const Case cases[] = {
      {"a statement", {"こんにちは"}, false, "", false, 1, 0, 0},
      {"the consent question",
       {"東京は？", "日本の首都"},
       false,
       "いいよ",
       false,
       1,
       0,
       0},
      {"a failed turn",
       {"命令", "東京は？", "日本の首都", "命令", "１"},
       false,
       "",
       false,
       1,
       1,
       0},
      {"the fourth insult",
       {"ばか", "ばか", "ばか", "ばか"},
       false,
       "",
       true,
       2,
       0,
       1},
      {"the fourth insult, its close failing",
       {"ばか", "ばか", "ばか", "ばか"},
       true,
       "",
       false,
       2,
       1,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompanionInFolder<FakeView, RefusingPlatform> home;
    home.dir.WriteSj("holv.dat", "太郎\r\n");
    home.dir.WriteSj("dic.dat", "大阪*日本の都市\r\n");
    home.companion.Start();
    for (std::size_t i = 0; i + 1 < c.lines.size(); ++i) {
      home.TypeAndPress(Sj(c.lines[i]));
    }
    CountingGuard guard;
    int closes = 0;
    const TurnRun run =
        RunTurn(home.companion, Sj(c.lines.back()), std::ref(guard), [&] {
          ++closes;
          if (c.close_fails) throw Error(Sj("保存失敗"));
        });
    EXPECT_EQ(run.input_line, Sj(c.input_line));
    EXPECT_EQ(run.closed, c.closed);
    EXPECT_EQ(guard.events, c.events);
    EXPECT_EQ(guard.failures, c.failures);
    EXPECT_EQ(closes, c.closes);
  }
}

}  // namespace
}  // namespace holvan::testing
