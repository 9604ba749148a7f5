#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <future>

#include "conversation/companion.h"
#include "errors/error.h"
#include "store/data_files.h"
#include "support/companion_in_folder.h"
#include "support/waiting.h"

namespace holvan {
namespace {

using testing::FakePlatform;
using testing::FakeView;
using testing::Sj;

// Each reading of the clock takes the next moment.
class TickingPlatform : public FakePlatform {
 public:
  Moment LocalNow() override {
    Moment moment = moments.front();
    if (moments.size() > 1) moments.pop_front();
    return moment;
  }
  std::deque<Moment> moments{Moment{2026, 12, 5, 15, 7, 9, 0}};
};

class GreetingTest
    : public ::testing::Test,
      public testing::CompanionInFolder<FakeView, TickingPlatform> {
 protected:
  GreetingTest() { platform.seed = 12345; }
};

const char kGreeting[] =
    "どうも 太郎さん "
    "今日は令和8年12月5日(土曜日)\r\n時刻は午後3時07分09秒です\r\n";

TEST_F(GreetingTest, WithoutProfileAsksForTheNameAfterTheEmptyFirstLine) {
  EXPECT_EQ(companion.transcript().Text(), "\r\n");
  companion.Start();
  EXPECT_EQ(companion.transcript().Text(), Sj("\r\nお名前を教えて下さい\r\n"));
  EXPECT_EQ(view.appended,
            std::vector<NarrowText>{Sj("お名前を教えて下さい\r\n")});
  EXPECT_EQ(companion.state().profile.visit_count, 0);
  EXPECT_EQ(companion.state().start_date_text, "");
  EXPECT_EQ(companion.state().start_time_text, "");
  EXPECT_EQ(conversation().random.seed(), 12345u);
}

TEST_F(GreetingTest, SeedsAndResetsTheConversationBeforeLoading) {
  Conversation& conversation = this->conversation();
  conversation.random.SetSeed(1);
  conversation.state.mode = Mode::kQuestionMenu;
  conversation.state.pending_topic = "x";
  conversation.state.follow_up = FollowUp::kRejected;
  companion.Start();
  EXPECT_EQ(conversation.random.seed(), 12345u);
  EXPECT_EQ(conversation.state.mode, Mode::kFree);
  EXPECT_EQ(conversation.state.pending_topic, "");
  EXPECT_EQ(conversation.state.follow_up, FollowUp::kNone);
}

TEST_F(GreetingTest, TheHundredthVisitIsCelebratedOnlyOnce) {
  dir.WriteSj("holv.dat", "太郎\r\n99\r\n");
  companion.Start();
  EXPECT_EQ(companion.state().profile.visit_count, 100);
  EXPECT_EQ(companion.transcript().Text(),
            Sj(std::string("\r\n") + kGreeting +
               "今日でお会いするのはなんと100回目なんですよ\r\n"));
  EXPECT_EQ(companion.state().start_date_text, Sj("令和8年12月5日(土曜日)"));
  EXPECT_EQ(companion.state().start_time_text, Sj("午後3時07分09秒"));
  EXPECT_EQ(view.appended.size(), 3u);

  testing::CompanionInFolder<FakeView, TickingPlatform> later;
  later.dir.WriteSj("holv.dat", "太郎\r\n100\r\n");
  later.companion.Start();
  EXPECT_EQ(later.companion.state().profile.visit_count, 101);
  EXPECT_EQ(later.companion.transcript().Text(),
            Sj(std::string("\r\n") + kGreeting));
}

TEST_F(GreetingTest, ANameWithoutCountIsGreetedWithoutCounting) {
  dir.WriteSj("holv.dat", "太郎\r\n");
  companion.Start();
  EXPECT_EQ(companion.state().profile.visit_count, 0);
  EXPECT_EQ(companion.transcript().Text(), Sj(std::string("\r\n") + kGreeting));
}

TEST_F(GreetingTest, DateAndTimeComeFromTwoReadingsOfTheClock) {
  dir.WriteSj("holv.dat", "太郎\r\n1\r\n");
  platform.moments = {Moment{2026, 12, 5, 23, 59, 59, 999},
                      Moment{2026, 12, 6, 0, 5, 9, 0}};
  companion.Start();
  EXPECT_EQ(companion.state().start_date_text, Sj("令和8年12月5日(土曜日)"));
  EXPECT_EQ(companion.state().start_time_text, Sj("午前12時05分09秒"));
}

// The start in its steps, the stores loaded on a thread of their own as the
// window loads them, ends as the start at once does.
TEST(StartInStepsTest, EndsAsTheStartAtOnce) {
  for (const char* profile : {"", "太郎\r\n99\r\n"}) {
    testing::CompanionInFolder<FakeView, TickingPlatform> at_once;
    testing::CompanionInFolder<FakeView, TickingPlatform> stepped;
    for (auto* home : {&at_once, &stepped}) {
      home->platform.seed = 12345;
      home->dir.WriteSj("holv.dat", profile);
      home->dir.WriteSj("brain.dat", "猫＝動物\r\n");
    }
    at_once.companion.Start();
    const NarrowText folder = stepped.companion.BeginStart();
    std::future<Profile> loaded = std::async(std::launch::async, [&] {
      return LoadStores(folder, stepped.companion.stores_to_load());
    });
    stepped.companion.FinishStart(loaded.get());
    EXPECT_EQ(stepped.companion.transcript().Text(),
              at_once.companion.transcript().Text());
    EXPECT_EQ(stepped.companion.state().profile.visit_count,
              at_once.companion.state().profile.visit_count);
    EXPECT_EQ(stepped.companion.stores().brain.Count(), 1);
    EXPECT_EQ(stepped.conversation().random.seed(), 12345u);
  }
}

// Root reads every file whatever its mode bits, so the unreadable case runs
// in a child that has given up root.
TEST_F(GreetingTest, AnUnreadableFileEndsStartUpWithWhatWasLoaded) {
  dir.WriteSj("brain.dat", "猫＝動物\r\n");
  dir.WriteSj("dic.dat", "犬*動物\r\n");
  dir.WriteSj("holv.dat", "太郎\r\n5\r\n");
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(chmod(dir.File("brain.dat").c_str(), 0644), 0);
  ASSERT_EQ(chmod(dir.File("holv.dat").c_str(), 0644), 0);
  ASSERT_EQ(chmod(dir.File("dic.dat").c_str(), 0), 0);

  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
      _exit(2);
    }
    // Exit status: 0 when every check holds, else 10 + the first that failed.
    int failed = 0;
    auto check = [&failed](bool holds, int number) {
      if (!holds && failed == 0) failed = 10 + number;
    };
    try {
      companion.Start();
      check(false, 1);
    } catch (const Error& error) {
      check(error.message() == OpenError(dir.File("dic.dat")).message(), 2);
    }
    check(companion.stores().brain.Count() == 1, 3);
    check(companion.stores().dictionary.Count() == 0, 4);
    check(companion.state().profile.user_name.empty(), 5);
    check(companion.transcript().Text() == "\r\n", 6);
    check(conversation().random.seed() == 12345u, 7);
    _exit(failed);
  }
  const int status = testing::ExitStatus(testing::WaitForChild(child));
  if (status == 2) GTEST_SKIP() << "cannot switch to user nobody";
  EXPECT_EQ(status, 0) << "10 + the number of the failed check; -1: killed "
                          "or still running";
}

}  // namespace
}  // namespace holvan
