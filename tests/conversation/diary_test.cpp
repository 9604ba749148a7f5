#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "conversation_fixture.h"
#include "errors/error.h"
#include "support/file_faults.h"

namespace holvan::testing {
namespace {

class DiaryTest : public ConversationTest {
 protected:
  DiaryTest() { platform.now = Moment{2026, 12, 5, 15, 7, 9, 0}; }

  /// The header that entry appends: an empty line, date and time, another
  /// empty line.
  NarrowText Header() {
    return "\r\n" + state().start_date_text + state().start_time_text +
           "\r\n\r\n";
  }
  const NarrowText& Text() { return companion.transcript().Text(); }

  void ExpectInDiary() {
    EXPECT_EQ(state().mode, Mode::kDiary);
    EXPECT_EQ(view.look.caption,
              Sj("日記モード      コマンド: セーブ 削除 終了"));
    EXPECT_EQ(view.look.talk_caption, Sj("記入"));
    EXPECT_FALSE(view.look.word_wrap);
    EXPECT_TRUE(view.look.arrow_pointer);
    EXPECT_FALSE(view.idle_enabled);
  }
  void ExpectLeft(const char* message) {
    EXPECT_EQ(Text(), Sj(message) + "\r\n");
    EXPECT_EQ(state().mode, Mode::kFree);
    EXPECT_EQ(view.look.caption, "Holvan");
    EXPECT_EQ(view.look.talk_caption, Sj("話す"));
    EXPECT_TRUE(view.look.word_wrap);
    EXPECT_FALSE(view.look.arrow_pointer);
    EXPECT_TRUE(view.idle_enabled);
  }
};

TEST_F(DiaryTest, WritesSavesAndShowsTheSavedTextAgain) {
  StartAs("太郎");
  ASSERT_FALSE(state().start_date_text.empty());
  Type("日記を書く");
  EXPECT_EQ(Text(), Header());
  ExpectInDiary();

  // Every line but the commands is diary text, without echo or reply.
  for (const char* line : {"今日は晴れ", "", "セーブ ", "セーブして", "ばか"}) {
    Type(line);
  }
  const NarrowText diary =
      Header() + Sj("今日は晴れ\r\n\r\nセーブ \r\nセーブして\r\nばか\r\n");
  EXPECT_EQ(Text(), diary);
  EXPECT_TRUE(stores().phrase_log.Contains(Sj("今日は晴れ")));
  ExpectInDiary();

  Type("セーブ");
  EXPECT_EQ(dir.ReadBytes("diary.dat"), diary);
  ExpectLeft("保存しました");

  Type("日記");
  EXPECT_EQ(view.loads, 1);
  EXPECT_EQ(Text(), diary + Header());
  Type("消える行");
  Type("止める");
  ExpectLeft("終了しました");
  Type("日記");
  Type("終了");
  ExpectLeft("終了しました");
  EXPECT_EQ(dir.ReadBytes("diary.dat"), diary);
}

TEST_F(DiaryTest, DeleteWithoutSelectionRemovesLinesFromTheEnd) {
  dir.WriteSj("diary.dat", "古い日記");
  StartAs("太郎");
  Type("日記");
  const NarrowText date_time =
      state().start_date_text + state().start_time_text;
  EXPECT_EQ(Text(), Sj("古い日記\r\n\r\n") + date_time + "\r\n");
  Type("削除");
  EXPECT_EQ(Text(), Sj("古い日記\r\n\r\n"));
  Type("削除");
  EXPECT_EQ(Text(), Sj("古い日記\r\n"));
  Type("削除");
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(view.deletions, 3);
  Type("削除");
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(view.deletions, 3);
  ExpectInDiary();
}

TEST_F(DiaryTest, DeleteRemovesTheSelectedCharacters) {
  dir.WriteBytes("diary.dat", Sj("ab\r\n日本\r\n") + "A\x81 B\r\n");
  StartAs("太郎");
  Type("日記");
  // "b", the break and "日": four UTF-16 units, five bytes.
  view.selection = {1, 4};
  Type("削除");
  EXPECT_EQ(Text(), Sj("a本\r\n") + "A\x81 B\r\n" + Header());
  // A byte that starts no character is one unit of its own.
  view.selection = {5, 2};
  Type("削除");
  EXPECT_EQ(Text(), Sj("a本\r\n") + "AB\r\n" + Header());
  // A selection past the end selects nothing: the last line goes.
  view.selection = {1000, 3};
  Type("削除");
  EXPECT_EQ(Text(), Sj("a本\r\n") + "AB\r\n\r\n" + state().start_date_text +
                        state().start_time_text + "\r\n");
  EXPECT_EQ(view.deletions, 3);
}

TEST_F(DiaryTest, EntryFromAnAngerModeAndItsEchoIsDiscarded) {
  StartAs("太郎");
  Type("ばか");
  EXPECT_EQ(state().mode, Mode::kAngry1);
  Type("日記");
  EXPECT_EQ(Text(), Header());
  ExpectInDiary();
  Type("終了");
  EXPECT_EQ(Type("ばか").back(), "ひどい言葉ですね どうしたのですか");
}

TEST_F(DiaryTest, WithoutANameAtStartTheHeaderIsOnlyBreaks) {
  Start();
  Type("太郎");
  Type("日記");
  EXPECT_EQ(Text(), "\r\n\r\n\r\n");
}

TEST_F(DiaryTest, AFailedSaveKeepsTheOldFileAndTheMode) {
  dir.WriteSj("diary.dat", "前の日記\r\n");
  StartAs("太郎");
  Type("日記");
  Type("新しい行");
  const NarrowText diary = Text();
  FileAttribute immutable(dir.File("diary.dat"));
  if (!immutable.ok()) GTEST_SKIP() << "chattr +i is not available here";
  EXPECT_THROW(Type("セーブ"), Error);
  immutable.Lift();
  EXPECT_EQ(dir.ReadBytes("diary.dat"), Sj("前の日記\r\n"));
  EXPECT_EQ(Text(), diary);
  ExpectInDiary();

  Type("セーブ");
  EXPECT_EQ(dir.ReadBytes("diary.dat"), diary);
  ExpectLeft("保存しました");
}

TEST_F(DiaryTest, ADirectoryInTheFilesPlaceIsNoDiary) {
  ASSERT_EQ(mkdir(dir.File("diary.dat").c_str(), 0755), 0);
  StartAs("太郎");
  Type("日記");
  EXPECT_EQ(Text(), Header());
  EXPECT_THROW(Type("セーブ"), Error);
  ExpectInDiary();
}

TEST_F(DiaryTest, AnUnreadableDiaryLeavesTheModeUnentered) {
  dir.WriteSj("diary.dat", "秘密\r\n");
  ASSERT_EQ(chmod(dir.File("diary.dat").c_str(), 0), 0);
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  StartAs("太郎");
  // Root reads any file, so the check runs as an unprivileged user.
  EXPECT_EXIT(
      {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
          std::_Exit(2);
        }
        bool failed = false;
        try {
          Type("日記");
        } catch (const Error&) {
          failed = true;
        }
        const bool unentered =
            failed && Text().empty() && state().mode == Mode::kFree &&
            view.look.caption == "Holvan" && view.idle_enabled &&
            view.look.talk_caption == Sj("話す");
        std::_Exit(unentered ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace holvan::testing
