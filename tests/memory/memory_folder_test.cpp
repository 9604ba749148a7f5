#include "memory/memory_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "errors/error.h"
#include "support/file_faults.h"
#include "support/temp_dir.h"
#include "text/cp932.h"

namespace holvan::memory {
namespace {

using namespace std::string_literals;
using testing::FileAttribute;
using testing::Sj;
using testing::TempDir;

constexpr char kChangedByAnother[] =
    "dic.dat は読み込んだ後にほかのプログラムが書き換えたので、"
    "保存しませんでした";

/// The message of what call raises, in UTF-8; "" when it raises nothing.
template <typename Call>
std::string Refusal(Call call) {
  try {
    call();
  } catch (const Error& error) {
    return NarrowToUtf8(error.message());
  }
  return "";
}

/// A memory folder with a little of everything.
class MemoryFolderTest : public ::testing::Test {
 protected:
  MemoryFolderTest() {
    dir_.WriteSj("dic.dat", "東京*日本の首都\r\n大阪*西の都\r\n壊れた行\r\n");
    dir_.WriteSj(
        "brain.dat",
        "【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n猫＝哺乳類＊動物\r\n");
    dir_.WriteSj("res.dat", "こんにちは\r\nパスワードは1234\r\n");
    dir_.WriteSj("holv.dat", "太郎\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
  }

  MemoryFolder Open() { return MemoryFolder::OpenForEditing(dir_.path()); }
  std::string Utf8(std::string_view name) const {
    return NarrowToUtf8(dir_.ReadBytes(name));
  }

  TempDir dir_;
};

TEST_F(MemoryFolderTest, ListsAndSearchesByCharacters) {
  const MemoryFolder memory = Open();
  const std::vector<Fact> facts = memory.Facts();
  ASSERT_EQ(facts.size(), 2u);
  EXPECT_EQ(facts[1].line, 2);
  EXPECT_EQ(facts[1].key, Sj("大阪"));
  EXPECT_EQ(facts[1].text, Sj("西の都"));
  ASSERT_EQ(memory.Facts(Sj("首都")).size(), 1u);
  EXPECT_EQ(memory.Facts(Sj("首都"))[0].key, Sj("東京"));

  const std::vector<BrainEntry> cats = memory.BrainEntries(Sj("動物"));
  ASSERT_EQ(cats.size(), 1u);
  EXPECT_EQ(cats[0].line, 3);
  EXPECT_EQ(cats[0].definitions,
            (std::vector<NarrowText>{Sj("哺乳類"), Sj("動物")}));
  EXPECT_EQ(memory.Phrases(Sj("1234")).front().line, 2);
  EXPECT_EQ(memory.UserName(), Sj("太郎"));

  // By characters, not bytes: ア is 83 41, which holds the byte of A.
  dir_.WriteSj("res.dat", "ア\r\n");
  EXPECT_TRUE(Open().Phrases("A").empty());
}

// A key or text written with the other code of a character that has two (∵
// as 87 9A, 纊 as ED 40) is found by its characters, as it is listed; the
// bytes no edit names stay as they are.
TEST_F(MemoryFolderTest, FindsKeysAndTextsByTheirCharacters) {
  const std::string because = "\x87\x9A";  // ∵, preferred 81 E6
  const std::string kanji = "\xED\x40";    // 纊, preferred FA 5C
  dir_.WriteBytes("dic.dat", because + Sj("*理由\r\n"));
  const std::string mood = Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n");
  dir_.WriteBytes("brain.dat", mood + kanji + Sj("＝綿＊") + because +
                                   Sj("\r\n犬＝動物\r\n"));
  dir_.WriteBytes("res.dat", kanji + Sj("です\r\n"));
  MemoryFolder memory = Open();
  EXPECT_EQ(memory.Facts()[0].key, because);
  EXPECT_EQ(memory.FactLines(Sj("∵")), std::vector<int32_t>{1});
  EXPECT_EQ(memory.BrainLine(Sj("纊")), 3);
  EXPECT_EQ(memory.PhraseLines(Sj("纊です")), std::vector<int32_t>{1});
  EXPECT_EQ(Refusal([&] { memory.AddFact(Sj("∵"), Sj("x")); }),
            "「∵」は dic.dat の 1 行目にあります");
  EXPECT_EQ(Refusal([&] { memory.ChangeBrainEntry(4, Sj("纊"), {Sj("x")}); }),
            "「纊」は brain.dat の 3 行目にあります");
  EXPECT_EQ(Refusal([&] { memory.AddPhrase(Sj("纊です")); }),
            "「纊です」は res.dat の 1 行目にあります");
  EXPECT_EQ(memory.ImportFacts("∵*また\n").skipped.size(), 1u);
  EXPECT_EQ(memory.AddDefinition(Sj("纊"), Sj("糸")), 3);
  memory.RemoveDefinition(3, Sj("∵"));
  memory.Save();
  EXPECT_EQ(dir_.ReadBytes("dic.dat"), because + Sj("*理由\r\n"));
  EXPECT_EQ(dir_.ReadBytes("brain.dat"),
            mood + kanji + Sj("＝糸＊綿\r\n犬＝動物\r\n"));
}

// Opened to read files when they are needed, the memory reads only those an
// edit or a list looks at: the others may be larger than memory.
TEST_F(MemoryFolderTest, ReadsAFileOnlyWhenItIsNeeded) {
  ASSERT_EQ(::truncate(dir_.File("brain.dat").c_str(), off_t{200} << 30), 0);
  EXPECT_EQ(Refusal([&] { Open(); }),
            "ﾌｧｲﾙ " + dir_.File("brain.dat") + " は開けません");
  MemoryFolder memory =
      MemoryFolder::OpenForEditing(dir_.path(), Reading::kWhenNeeded);
  memory.AddFact(Sj("京都"), Sj("古い都"));
  memory.SetUserName(Sj("花子"));
  memory.Save();
  EXPECT_EQ(Utf8("dic.dat"),
            "東京*日本の首都\r\n大阪*西の都\r\n壊れた行\r\n京都*古い都\r\n");
  EXPECT_EQ(Refusal([&] { memory.BrainEntries(); }),
            "ﾌｧｲﾙ " + dir_.File("brain.dat") + " は開けません");
  struct stat st;
  ASSERT_EQ(::stat(dir_.File("brain.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_size, off_t{200} << 30);
}

TEST_F(MemoryFolderTest, EditsFollowTheRulesOfEachFile) {
  MemoryFolder memory = Open();
  EXPECT_EQ(memory.AddFact(Sj("京都"), Sj("古い都")), 4);
  EXPECT_EQ(Refusal([&] { memory.AddFact(Sj("東京"), Sj("x")); }),
            "「東京」は dic.dat の 1 行目にあります");
  EXPECT_EQ(Refusal([&] { memory.AddFact(Sj("こんにちは"), Sj("x")); }),
            "「こんにちは」は質問で尋ねられません（5 "
            "文字目の「は」で話題が切れます）");
  EXPECT_EQ(
      Refusal([&] { memory.AddFact(Sj("言って何"), Sj("x")); }),
      "「言って何」は質問で尋ねられません（2 文字目の「っ」で話題が切れます）");
  EXPECT_EQ(Refusal([&] { memory.AddFact("a*b", "x"); }),
            "言葉に「*」は使えません（言葉と説明を分ける印です）");
  EXPECT_EQ(Refusal([&] { memory.AddFact("a", "x\r\ny"); }),
            "改行やゼロのバイトは入れられません");
  EXPECT_EQ(Refusal([&] { memory.ChangeFact(2, Sj("東京"), "x"); }),
            "「東京」は dic.dat の 1 行目にあります");
  memory.ChangeFact(3, Sj("壊れた"), Sj("直した行"));

  // As Holvan learns: newest first, moved to the front, never twice.
  EXPECT_EQ(memory.AddDefinition(Sj("猫"), Sj("動物")), 3);
  EXPECT_EQ(memory.AddDefinition(Sj("猫"), Sj("動物")), 3);
  EXPECT_EQ(memory.AddDefinition(Sj("犬"), Sj("忠実な動物")), 4);
  EXPECT_EQ(Refusal([&] { memory.AddDefinition(Sj("a＝b"), "x"); }),
            "言葉に「＝」は使えません（次に読むときそこで分かれます）");
  EXPECT_EQ(Refusal([&] { memory.AddDefinition("a", Sj("x＊y")); }),
            "意味に「＊」は使えません（意味を分ける印です）");
  memory.RemoveDefinition(3, Sj("哺乳類"));
  EXPECT_EQ(Refusal([&] { memory.RemoveDefinition(3, Sj("魚")); }),
            "brain.dat の 3 行目に意味「魚」はありません");
  EXPECT_EQ(
      Refusal([&] { memory.RemoveLines(MemoryFile::kBrain, {2}); }),
      "brain.dat の 1 行目と 2 行目は機嫌を動かす言葉の行なので消せません");
  // The last definition takes its line along.
  memory.RemoveDefinition(4, Sj("忠実な動物"));
  memory.ChangeBrainEntry(3, Sj("ねこ"), {Sj("動物"), Sj("家族")});
  EXPECT_EQ(
      Refusal([&] { memory.ChangeBrainEntry(3, Sj("【悪口】"), {Sj("x")}); }),
      "「【悪口】」は brain.dat の 2 行目にあります");

  EXPECT_EQ(Refusal([&] { memory.AddPhrase(Sj("こんにちは")); }),
            "「こんにちは」は res.dat の 1 行目にあります");
  memory.RemoveLines(MemoryFile::kPhrases,
                     memory.PhraseLines(Sj("パスワードは1234")));
  memory.SetUserName(Sj("花子"));
  EXPECT_EQ(Refusal([&] { memory.RemoveLines(MemoryFile::kDictionary, {9}); }),
            "dic.dat に 9 行目はありません");
  memory.Save();

  EXPECT_EQ(
      Utf8("dic.dat"),
      "東京*日本の首都\r\n大阪*西の都\r\n壊れた*直した行\r\n京都*古い都\r\n");
  EXPECT_EQ(Utf8("brain.dat"),
            "【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\nねこ＝動物＊家族\r\n");
  EXPECT_EQ(Utf8("res.dat"), "こんにちは\r\n");
  EXPECT_EQ(Utf8("holv.dat"), "花子\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(MemoryFolderTest, UndoTakesBackEachEditUntilTheSave) {
  MemoryFolder memory = Open();
  const std::string dictionary = dir_.ReadBytes("dic.dat");
  EXPECT_FALSE(memory.CanUndo());
  memory.AddFact(Sj("京都"), Sj("古い都"));
  memory.RemoveLines(MemoryFile::kDictionary, {1, 3});
  memory.SetUserName(Sj("花子"));
  EXPECT_EQ(NarrowToUtf8(memory.LastEdit()), "名前の変更");
  memory.Undo();
  memory.Undo();
  EXPECT_EQ(NarrowToUtf8(memory.LastEdit()), "「京都」の追加");
  memory.Undo();
  EXPECT_FALSE(memory.CanUndo());
  EXPECT_EQ(memory.Lines(MemoryFile::kDictionary).Bytes(), dictionary);
  // Edits taken back leave nothing to write.
  EXPECT_TRUE(memory.UnsavedFiles().empty());

  memory.AddPhrase(Sj("さようなら"));
  memory.Save();
  EXPECT_FALSE(memory.CanUndo());
}

TEST_F(MemoryFolderTest, SaveWritesOnlyChangedFilesAndKeepsEveryOtherByte) {
  // Invalid bytes, lone CR and LF, no final break, and what follows a zero
  // byte, all outside the edited line.
  const std::string phrases =
      Sj("一\r二\n") + "\x82\xFF\r\n" + Sj("三") + "\0"s + "never read\r\n";
  dir_.WriteBytes("res.dat", phrases);
  struct stat before;
  ASSERT_EQ(::stat(dir_.File("dic.dat").c_str(), &before), 0);

  MemoryFolder memory = Open();
  memory.AddPhrase(Sj("四"));
  memory.ChangePhrase(2, Sj("に"));
  EXPECT_EQ(memory.UnsavedFiles(),
            std::vector<MemoryFile>{MemoryFile::kPhrases});
  memory.Save();
  EXPECT_EQ(dir_.ReadBytes("res.dat"), Sj("一\rに\n") + "\x82\xFF\r\n" +
                                           Sj("三\r\n四\r\n") + "\0"s +
                                           "never read\r\n");
  struct stat after;
  ASSERT_EQ(::stat(dir_.File("dic.dat").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_FALSE(dir_.Exists("diary.dat"));
}

TEST_F(MemoryFolderTest, MakesMissingFilesButNeverTheBrainsMoodLines) {
  TempDir empty;
  MemoryFolder memory = MemoryFolder::OpenForEditing(empty.path());
  EXPECT_FALSE(memory.Exists(MemoryFile::kDictionary));
  memory.AddFact(Sj("東京"), Sj("日本の首都"));
  memory.SetUserName(Sj("太郎"));
  EXPECT_EQ(
      Refusal([&] { memory.AddDefinition(Sj("猫"), Sj("動物")); }),
      "brain.dat に機嫌を動かす言葉の 2 行がないので、言葉を加えられません");
  memory.Save();
  EXPECT_EQ(empty.ReadBytes("dic.dat"), Sj("東京*日本の首都\r\n"));
  EXPECT_EQ(empty.ReadBytes("holv.dat"), Sj("太郎\r\n"));
  EXPECT_FALSE(empty.Exists("brain.dat"));
  EXPECT_FALSE(empty.Exists("res.dat"));
}

// A file another program changed is left as it stands; the other files are
// saved all the same, and the changed one keeps its edits for Reload.
TEST_F(MemoryFolderTest, SavesEveryFileButTheOneAnotherProgramChanged) {
  MemoryFolder memory = Open();
  memory.AddFact(Sj("京都"), Sj("古い都"));
  memory.AddPhrase(Sj("さようなら"));
  memory.SetUserName(Sj("花子"));
  dir_.WriteSj("dic.dat", "東京*日本の首都\r\n");
  EXPECT_EQ(memory.ChangedFiles(),
            std::vector<MemoryFile>{MemoryFile::kDictionary});
  EXPECT_EQ(Refusal([&] { memory.Save(); }), kChangedByAnother);
  EXPECT_EQ(Utf8("dic.dat"), "東京*日本の首都\r\n");
  EXPECT_EQ(Utf8("res.dat"),
            "こんにちは\r\nパスワードは1234\r\nさようなら\r\n");
  EXPECT_EQ(Utf8("holv.dat"), "花子\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
  EXPECT_EQ(memory.UnsavedFiles(),
            std::vector<MemoryFile>{MemoryFile::kDictionary});
  EXPECT_EQ(NarrowToUtf8(memory.LastEdit()), "「京都」の追加");

  EXPECT_TRUE(memory.Reload(MemoryFile::kDictionary).empty());
  memory.Save();
  EXPECT_EQ(Utf8("dic.dat"), "東京*日本の首都\r\n京都*古い都\r\n");
  // A file made or removed by another program is a change too.
  memory.AddPhrase(Sj("またね"));
  std::remove(dir_.File("res.dat").c_str());
  EXPECT_EQ(memory.ChangedFiles(),
            std::vector<MemoryFile>{MemoryFile::kPhrases});
  TempDir empty;
  MemoryFolder fresh = MemoryFolder::OpenForEditing(empty.path());
  fresh.AddPhrase(Sj("またね"));
  empty.WriteSj("res.dat", "やあ\r\n");
  EXPECT_EQ(fresh.ChangedFiles(),
            std::vector<MemoryFile>{MemoryFile::kPhrases});
}

// Rewritten in place with bytes of the same size, and its time of change set
// back: only the bytes tell, and they do.
TEST_F(MemoryFolderTest,
       RefusesToOverwriteARewriteInPlaceOfTheSameSizeAndTime) {
  struct stat before;
  ASSERT_EQ(::stat(dir_.File("dic.dat").c_str(), &before), 0);
  MemoryFolder memory = Open();
  memory.AddFact(Sj("京都"), Sj("古い都"));
  {
    const int fd = ::open(dir_.File("dic.dat").c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const std::string other = Sj("西京*日本の首都");
    ASSERT_EQ(::pwrite(fd, other.data(), other.size(), 0),
              static_cast<ssize_t>(other.size()));
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);
  }
  struct stat after;
  ASSERT_EQ(::stat(dir_.File("dic.dat").c_str(), &after), 0);
  ASSERT_EQ(after.st_ino, before.st_ino);
  ASSERT_EQ(after.st_size, before.st_size);
  ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(Refusal([&] { memory.Save(); }), kChangedByAnother);
  EXPECT_EQ(Utf8("dic.dat"), "西京*日本の首都\r\n大阪*西の都\r\n壊れた行\r\n");
}

// A second save compares each file with what the first one wrote: its own
// save is no change by another program, a later rewrite is.
TEST_F(MemoryFolderTest, SavesAgainInTheSameSession) {
  MemoryFolder memory = Open();
  memory.AddFact(Sj("京都"), Sj("古い都"));
  memory.Save();
  memory.AddFact(Sj("奈良"), Sj("鹿のいる都"));
  memory.RemoveLines(MemoryFile::kDictionary, {1});
  memory.Save();
  EXPECT_EQ(Utf8("dic.dat"),
            "大阪*西の都\r\n壊れた行\r\n京都*古い都\r\n奈良*鹿のいる都\r\n");
  memory.AddFact(Sj("神戸"), Sj("港の町"));
  dir_.WriteSj("dic.dat", "大阪*西の都\r\n");
  EXPECT_EQ(Refusal([&] { memory.Save(); }), kChangedByAnother);
  EXPECT_EQ(Utf8("dic.dat"), "大阪*西の都\r\n");
}

// Past the size read at once, a save still compares the whole file with
// what it wrote last, whatever lines were edited between: one byte rewritten
// far from them tells.
TEST_F(MemoryFolderTest, ComparesALargeFileWithWhatItWroteLast) {
  std::string facts;
  for (int i = 0; facts.size() < 300'000; ++i) {
    facts += "k" + std::to_string(i) + "*v\r\n";
  }
  dir_.WriteBytes("dic.dat", facts);
  MemoryFolder memory = Open();
  memory.ChangeFact(5000, "k4999", "w");
  memory.ChangeFact(20000, "k19999", "w");
  memory.Save();
  memory.ChangeFact(10000, "k9999", "w");
  memory.Save();
  std::string expected = dir_.ReadBytes("dic.dat");
  ASSERT_EQ(std::count(expected.begin(), expected.end(), 'w'), 3);
  memory.RemoveLines(MemoryFile::kDictionary, {1});
  {
    const int fd = ::open(dir_.File("dic.dat").c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "K", 1, 200'000), 1);
    ::close(fd);
  }
  expected[200'000] = 'K';
  EXPECT_EQ(Refusal([&] { memory.Save(); }), kChangedByAnother);
  EXPECT_EQ(dir_.ReadBytes("dic.dat"), expected);
}

// A file that cannot be written keeps its edits; the files after it are
// written all the same, and the failure is raised.
TEST_F(MemoryFolderTest, AFailedWriteStopsNoOtherFile) {
  MemoryFolder memory = Open();
  memory.AddPhrase(Sj("さようなら"));
  memory.SetUserName(Sj("花子"));
  {
    FileAttribute phrases(dir_.File("res.dat"));
    if (!phrases.ok()) GTEST_SKIP() << "chattr +i is not available here";
    EXPECT_NE(Refusal([&] { memory.Save(); }), "");
  }
  EXPECT_EQ(Utf8("holv.dat"), "花子\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
  EXPECT_EQ(memory.UnsavedFiles(),
            std::vector<MemoryFile>{MemoryFile::kPhrases});
  memory.Save();
  EXPECT_EQ(Utf8("res.dat"),
            "こんにちは\r\nパスワードは1234\r\nさようなら\r\n");
}

// Reload takes the file as another program left it and makes the edits again
// where their lines are now; an edit whose lines are gone is told, not made,
// and every other one can still be taken back.
TEST_F(MemoryFolderTest, ReloadMakesTheEditsAgainWhereTheirLinesAreNow) {
  MemoryFolder memory = Open();
  memory.ChangeFact(2, Sj("大阪"), Sj("商人の都"));
  memory.ChangeFact(1, Sj("東京"), Sj("首都"));
  memory.RemoveLines(MemoryFile::kDictionary, {3});
  memory.AddPhrase(Sj("さようなら"));
  memory.AddFact(Sj("京都"), Sj("古い都"));
  // Lines put before them, a break of another kind, the first line changed
  // and a last line without a break.
  dir_.WriteSj("dic.dat",
               "札幌*北の町\r\n東京*日本の首都です\r\n大阪*西の都\n壊れた行\r\n"
               "神戸*港の町");
  const std::vector<NarrowText> dropped =
      memory.Reload(MemoryFile::kDictionary);
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(NarrowToUtf8(dropped[0]), "「東京」の変更");
  EXPECT_EQ(
      NarrowToUtf8(memory.Lines(MemoryFile::kDictionary).Bytes()),
      "札幌*北の町\r\n東京*日本の首都です\r\n大阪*商人の都\n神戸*港の町\r\n"
      "京都*古い都\r\n");
  EXPECT_EQ(
      memory.UnsavedFiles(),
      (std::vector<MemoryFile>{MemoryFile::kDictionary, MemoryFile::kPhrases}));
  for (int i = 0; i < 3; ++i) memory.Undo();
  EXPECT_EQ(NarrowToUtf8(memory.Lines(MemoryFile::kDictionary).Bytes()),
            "札幌*北の町\r\n東京*日本の首都です\r\n大阪*商人の都\n壊れた行\r\n"
            "神戸*港の町");
  memory.Save();
  EXPECT_EQ(Utf8("dic.dat"),
            "札幌*北の町\r\n東京*日本の首都です\r\n大阪*商人の都\n壊れた行\r\n"
            "神戸*港の町");
  EXPECT_EQ(Utf8("res.dat"), "こんにちは\r\nパスワードは1234\r\n");
}

// A change to what a line holds already is no edit: nothing to save or take
// back.
TEST_F(MemoryFolderTest, AChangeToWhatALineHoldsIsNoEdit) {
  MemoryFolder memory = Open();
  memory.SetUserName(Sj("太郎"));
  memory.ChangeFact(1, Sj("東京"), Sj("日本の首都"));
  memory.ChangeBrainEntry(3, Sj("猫"), {Sj("哺乳類"), Sj("動物")});
  memory.ChangePhrase(1, Sj("こんにちは"));
  EXPECT_FALSE(memory.CanUndo());
  EXPECT_TRUE(memory.UnsavedFiles().empty());
}

// Lines the stores take as no entry are listed with the check's reason, found
// by a search, and mended into entries or refused with that reason.
TEST_F(MemoryFolderTest, ListsAndMendsUnreadableLines) {
  dir_.WriteSj("dic.dat", "東京*日本の首都\r\n\r\n壊れた行\r\n");
  dir_.WriteSj("brain.dat",
               "【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n猫は動物\r\n");
  MemoryFolder memory = Open();
  const std::vector<UnreadableLine> facts =
      memory.UnreadableLines(MemoryFile::kDictionary);
  ASSERT_EQ(facts.size(), 1u);
  EXPECT_EQ(facts[0].line, 3);
  EXPECT_EQ(facts[0].text, Sj("壊れた行"));
  EXPECT_EQ(NarrowToUtf8(facts[0].reason),
            "「*」がないので、この行は辞書に入りません");
  EXPECT_EQ(memory.UnreadableLines(MemoryFile::kDictionary, Sj("壊れ")).size(),
            1u);
  EXPECT_TRUE(
      memory.UnreadableLines(MemoryFile::kDictionary, Sj("東京")).empty());
  EXPECT_EQ(memory.UnreadableLines(MemoryFile::kBrain, Sj("動物"))[0].line, 3);
  EXPECT_TRUE(memory.UnreadableLines(MemoryFile::kPhrases).empty());

  EXPECT_EQ(Refusal([&] {
              memory.FixLine(MemoryFile::kDictionary, 3, Sj("まだ壊れた行"));
            }),
            "「*」がないので、この行は辞書に入りません");
  EXPECT_EQ(Refusal([&] {
              memory.FixLine(MemoryFile::kDictionary, 3, Sj("東京*二つ目"));
            }),
            "「東京」は dic.dat の 1 行目にあります");
  EXPECT_EQ(Refusal([&] { memory.FixLine(MemoryFile::kBrain, 3, Sj("猫＝")); }),
            "意味が空です");
  EXPECT_EQ(
      Refusal([&] { memory.FixLine(MemoryFile::kBrain, 3, Sj("猫は動物")); }),
      "「＝」がないので言葉のない行として読まれ、次の保存で先頭に「＝」が"
      "付きます");
  memory.FixLine(MemoryFile::kDictionary, 3, Sj("壊れた*直した行"));
  memory.FixLine(MemoryFile::kBrain, 3, Sj("猫＝動物＊家族"));
  EXPECT_TRUE(memory.UnreadableLines(MemoryFile::kDictionary).empty());
  memory.Save();
  EXPECT_EQ(Utf8("dic.dat"), "東京*日本の首都\r\n\r\n壊れた*直した行\r\n");
  EXPECT_EQ(Utf8("brain.dat"),
            "【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n猫＝動物＊家族\r\n");
}

TEST_F(MemoryFolderTest, ReadOnlyRefusesEveryEditWithItsReason) {
  MemoryFolder memory =
      MemoryFolder::OpenReadOnly(dir_.path(), FolderInUseReason());
  EXPECT_FALSE(memory.editable());
  EXPECT_EQ(memory.Facts().size(), 2u);
  EXPECT_EQ(Refusal([&] { memory.AddFact("a", "b"); }),
            "Holvan の終了後に編集できます");
  EXPECT_EQ(Refusal([&] { memory.SetUserName("a"); }),
            "Holvan の終了後に編集できます");
  EXPECT_EQ(Refusal([&] { memory.Save(); }), "Holvan の終了後に編集できます");
}

TEST_F(MemoryFolderTest, ImportsFactsAndSaysWhyLinesWereSkipped) {
  MemoryFolder memory = Open();
  const ImportReport report = memory.ImportFacts(
      "\xEF\xBB\xBF京都*古い都\r\n"
      "奈良\t鹿のいる都\n"
      "\n"
      "区切りのない行\n"
      "*説明だけ\n"
      "東京*二つ目\n"
      "京都\tもう一度\n"
      "𠀋*辞書にない字\n"
      "ありがとうは*礼\n"
      "札幌*\n"
      // 東京*首都 in code page 932.
      "\x93\x8c\x8b\x9e*\x8e\xf1\x93\x73");
  EXPECT_EQ(report.added, 2);
  std::vector<std::string> skipped;
  for (const SkippedLine& line : report.skipped) {
    skipped.push_back(std::to_string(line.line) + " " +
                      NarrowToUtf8(line.reason));
  }
  EXPECT_EQ(skipped,
            (std::vector<std::string>{
                "4 区切り（「*」かタブ）がありません", "5 言葉が空です",
                "6 「東京」は dic.dat の 1 行目にあります",
                "7 「京都」はこの一覧の 1 行目にもあります",
                "8 コードページ 932 にない文字があります",
                "9 「ありがとうは」は質問で尋ねられません（6 "
                "文字目の「は」で話題が切れます）",
                "10 説明が空です", "11 UTF-8 ではありません"}));
  memory.Undo();
  EXPECT_TRUE(memory.UnsavedFiles().empty());
}

}  // namespace
}  // namespace holvan::memory
