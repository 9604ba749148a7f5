#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <thread>

#include "../reliability/term_driver.h"
#include "support/piped_program.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "support/waiting.h"
#include "text/cp932.h"

namespace holvan::testing {
namespace {

using namespace std::string_literals;

/// A memory folder, a state folder for backups and a home, with
/// holvan-memory run on them.
class MemoryCliTest : public ::testing::Test {
 protected:
  MemoryCliTest() {
    std::filesystem::create_directories(memory_folder());
    Write("dic.dat", "東京*日本の首都\r\n大阪*西の都\r\n");
    Write("brain.dat",
          "【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n猫＝哺乳類＊動物\r\n");
    Write("res.dat", "こんにちは\r\nパスワードは1234\r\n");
    Write("holv.dat", "太郎\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
  }

  std::string memory_folder() const { return home_.File("data/holvan"); }
  std::string backups_folder() const {
    return home_.File("state/holvan/backups");
  }
  std::string File(std::string_view name) const {
    return memory_folder() + "/" + std::string(name);
  }
  void Write(std::string_view name, std::string_view utf8) const {
    home_.WriteBytes("data/holvan/" + std::string(name), Sj(utf8));
  }
  /// A memory file in UTF-8.
  std::string Read(std::string_view name) const {
    return NarrowToUtf8(home_.ReadBytes("data/holvan/" + std::string(name)));
  }

  /// holvan-memory with args on the user's memory folder (through
  /// XDG_DATA_HOME), input as its stdin.
  ProgramRun Run(const std::vector<std::string>& args,
                 std::string_view input = "",
                 const std::string& language = "C.UTF-8") const {
    return RunProgram(HOLVAN_MEMORY_PATH, args, home_.path(), input,
                      {{"HOME", home_.path()},
                       {"XDG_DATA_HOME", home_.File("data")},
                       {"XDG_STATE_HOME", home_.File("state")},
                       {"LC_ALL", std::nullopt},
                       {"LC_MESSAGES", std::nullopt},
                       {"LANG", language}});
  }

  TempDir home_;
};

TEST_F(MemoryCliTest, ListsAndSearchesInUtf8) {
  ProgramRun run = Run({"list", "dic"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1\t東京\t日本の首都\n2\t大阪\t西の都\n");
  EXPECT_EQ(Run({"list", "brain", "--grep", "動物"}).out,
            "3\t猫\t哺乳類\t動物\n");
  EXPECT_EQ(Run({"list", "phrases", "-g", "1234"}).out,
            "2\tパスワードは1234\n");
  EXPECT_EQ(Run({"list", "profile"}).out, "1\t太郎\n");
  // A control character in a file never reaches the terminal.
  Write("res.dat", "a\x1b[31mb\r\n");
  EXPECT_EQ(Run({"list", "phrases"}).out, "1\ta\uFFFD[31mb\n");
}

TEST_F(MemoryCliTest, EveryEditCommandChangesOnlyItsLines) {
  const std::pair<std::vector<std::string>, std::string> kSteps[] = {
      {{"add", "fact", "京都", "古い都"},
       "dic.dat の 3 行目に「京都」を加えました\n"},
      {{"change", "fact", "大阪", "食い倒れの街"},
       "dic.dat の 2 行目を「大阪」の事柄に書き換えました\n"},
      {{"remove", "fact", "東京"},
       "dic.dat から「東京」を消しました（1 行目）\n"},
      {{"remove", "fact", "--line", "2"}, "dic.dat の 2 行目を消しました\n"},
      {{"add", "definition", "猫", "動物"},
       "brain.dat の 3 行目の「猫」に意味「動物」を加えました\n"},
      {{"add", "definition", "猫", "動物"},
       "「猫」の一番新しい意味はもう「動物」です\n"},
      {{"add", "definition", "犬", "忠実な動物"},
       "brain.dat の 4 行目の「犬」に意味「忠実な動物」を加えました\n"},
      {{"add", "definition", "鳥", "空を飛ぶ"},
       "brain.dat の 5 行目の「鳥」に意味「空を飛ぶ」を加えました\n"},
      {{"remove", "definition", "猫", "哺乳類"},
       "「猫」の意味「哺乳類」を消しました\n"},
      {{"remove", "definition", "犬", "--all"},
       "brain.dat の 4 行目の「犬」を消しました\n"},
      {{"remove", "definition", "--line", "4"},
       "brain.dat の 4 行目を消しました\n"},
      {{"remove", "phrase", "パスワードは1234"},
       "res.dat から「パスワードは1234」を消しました（2 行目）\n"
       "バックアップにはありませんでした\n"},
      {{"remove", "phrase", "-n", "1", "--keep-in-backups"},
       "res.dat の 1 行目を消しました\n"},
      {{"rename", "花子"}, "名前を「花子」にしました\n"},
  };
  for (const auto& [args, said] : kSteps) {
    const ProgramRun run = Run(args);
    EXPECT_EQ(run.status, 0) << args[0] << " " << run.err;
    EXPECT_EQ(run.out, said);
  }
  EXPECT_EQ(Read("dic.dat"), "大阪*食い倒れの街\r\n");
  EXPECT_EQ(Read("brain.dat"),
            "【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n猫＝動物\r\n");
  EXPECT_EQ(Read("res.dat"), "");
  EXPECT_EQ(Read("holv.dat"), "花子\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(MemoryCliTest, RefusesWhatCannotBeDoneAndSaysWhy) {
  const std::string dictionary = Read("dic.dat");
  ProgramRun run = Run({"add", "fact", "東京", "x"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "holvan-memory: 「東京」は dic.dat の 1 行目にあります\n");
  run = Run({"add", "fact", "𠀋", "x"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "holvan-memory: 「〓」にはコードページ 932 にない文字があります\n");
  run = Run({"remove", "fact", "神戸"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "holvan-memory: 「神戸」は dic.dat にありません\n");
  run = Run({"remove", "definition", "--line", "1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Read("dic.dat"), dictionary);

  // Usage problems: status 2 and one line naming what is wrong, then where
  // to read more.
  const std::string files =
      " (dic.dat, brain.dat, res.dat, holv.dat, diary.dat)";
  const std::vector<std::pair<std::vector<std::string>, std::string>> refused =
      {{{}, "no command"},
       {{"list"}, "list needs one of: dic, brain, phrases, profile"},
       {{"list", "dict"},
        "unknown kind: list dict (one of: dic, brain, phrases, profile)"},
       {{"list", "dic", "extra"}, "wrong arguments or options for: list dic"},
       {{"add", "fact", "only-key"},
        "wrong arguments or options for: add fact"},
       {{"remove", "fact", "東京", "--line", "1"},
        "wrong arguments or options for: remove fact"},
       {{"remove", "definition", "猫"},
        "wrong arguments or options for: remove definition"},
       {{"list", "dic", "--daily"}, "wrong arguments or options for: list dic"},
       {{"backup", "--exact"}, "wrong arguments or options for: backup"},
       {{"remove", "fact", "東京", "--keep-in-backups"},
        "wrong arguments or options for: remove fact"},
       {{"remove", "fact", "--line", "0"}, "--line needs a line number from 1"},
       {{"restore", "2026-12-01", "passwords.txt"},
        "not a memory file: passwords.txt" + files},
       {{"help", "frobnicate"}, "unknown command: frobnicate"},
       {{"--dir"}, "missing value: --dir"},
       {{"--bogus"}, "unknown option: --bogus"}};
  for (const auto& [args, problem] : refused) {
    run = Run(args);
    EXPECT_EQ(run.status, 2) << problem;
    EXPECT_EQ(run.err,
              "holvan-memory: " + problem +
                  "\nTry 'holvan-memory --help' for more information.\n");
  }
  EXPECT_EQ(Run({"frobnicate"}, "", "ja_JP.UTF-8").err,
            "holvan-memory: 知らないコマンドです: frobnicate\n"
            "詳しくは holvan-memory --help\n");
}

TEST_F(MemoryCliTest, HelpInTheUsersLanguageAndVersion) {
  ProgramRun run = Run({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with("Usage: holvan-memory"));
  EXPECT_EQ(Run({"help"}).out, run.out);
  run = Run({"-h"}, "", "ja_JP.UTF-8");
  EXPECT_TRUE(run.out.starts_with("使い方: holvan-memory"));
  EXPECT_NE(run.out.find("Holvan の終了後に編集できます"), std::string::npos);
  run = Run({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with("holvan-memory "));

  // A command's own help: its entries and the options only it takes.
  const std::string list_help = Run({"help", "list"}).out;
  EXPECT_TRUE(list_help.starts_with("  list dic|brain|phrases|profile"))
      << list_help;
  EXPECT_TRUE(list_help.ends_with("list: only what holds TEXT\n")) << list_help;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{
           {"list", "--help"}, {"list", "dic", "--help"}, {"--help", "list"}}) {
    run = Run(args);
    EXPECT_EQ(run.status, 0) << args[0];
    EXPECT_EQ(run.out, list_help) << args[0];
  }
  const std::string remove_help = Run({"remove", "-h"}, "", "ja_JP.UTF-8").out;
  for (const std::string form :
       {"  remove fact", "  remove definition", "  remove phrase",
        "  --keep-in-backups       remove phrase:"}) {
    EXPECT_NE(remove_help.find(form), std::string::npos) << form;
  }
  EXPECT_EQ(remove_help.find("  add"), std::string::npos) << remove_help;
}

TEST_F(MemoryCliTest, ImportsFromAFileOrStandardInputAndCounts) {
  std::string list;
  for (int i = 1; i <= 100; ++i) {
    list += "言葉" + std::to_string(i) + (i % 2 ? "*" : "\t") + "説明\n";
  }
  list += "東京*また\nこんにちは*挨拶\n区切りなし\n";
  home_.WriteBytes("facts.txt", list);
  // The lines left out, on standard error, fail the run; the others are
  // added all the same.
  ProgramRun run = Run({"import", "dic", "facts.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "holvan-memory: 101 行目: 「東京」は dic.dat の 1 行目にあります\n"
            "holvan-memory: 102 行目: 「こんにちは」は質問で尋ねられません（5 "
            "文字目の「は」で話題が切れます）\n"
            "holvan-memory: 103 行目: 区切り（「*」かタブ）がありません\n");
  EXPECT_EQ(run.out, "dic.dat に 100 件加えました。3 行は加えませんでした\n");
  EXPECT_NE(Read("dic.dat").find("言葉100*説明\r\n"), std::string::npos);

  // dic.dat is made when it is missing.
  std::filesystem::remove(File("dic.dat"));
  run = Run({"import", "dic", "-"}, "ホルヴァン*おしゃべり相手\r\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Read("dic.dat"), "ホルヴァン*おしゃべり相手\r\n");

  // A file that cannot be read is named with the system's reason, in the
  // user's language.
  const std::string missing = home_.File("missing.txt");
  for (const auto& [language, reason] :
       std::vector<std::pair<std::string, std::string>>{
           {"C.UTF-8", "No such file or directory"},
           {"ja_JP.UTF-8", "ファイルがありません"}}) {
    run = Run({"import", "dic", missing}, "", language);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "holvan-memory: ﾌｧｲﾙ " + missing +
                           " は開けません: " + reason + "\n");
  }
}

TEST_F(MemoryCliTest, ExportsUtf8CopiesAndChecks) {
  ProgramRun run = Run({"export", "copies"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(home_.ReadBytes("copies/dic.txt"),
            "東京*日本の首都\n大阪*西の都\n");
  EXPECT_EQ(home_.ReadBytes("copies/holv.txt"), "太郎\n3\n1\n0\n0\n0\n0\n");
  EXPECT_FALSE(home_.Exists("copies/diary.txt"));
  // Never over copies already there.
  run = Run({"export", "copies"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "holvan-memory: 書き出すフォルダ copies は空ではありません。新しい"
            "フォルダか空のフォルダを指定してください\n");

  run = Run({"check"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "問題はありません\n");
  Write("res.dat", "やあ\r\nやあ\r\n");
  run = Run({"check"});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out,
            "res.dat 2 行目: 1 行目と同じ発言です\n問題が 1 件あります\n");
}

TEST_F(MemoryCliTest, BacksUpOncePerDayAndRestoresAfterASnapshot) {
  ProgramRun run = Run({"backup", "--daily"});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(run.out.starts_with("バックアップしました: "));
  const std::string today = run.out.substr(run.out.find(": ") + 2, 10);
  EXPECT_EQ(Run({"backup", "--daily"}).out,
            "今日のバックアップはもうあります: " + today + "\n");
  run = Run({"backups"});
  EXPECT_TRUE(run.out.starts_with(today + "\t" + today + " ")) << run.out;
  EXPECT_TRUE(run.out.ends_with("\t事柄 2\t言葉 3\t発言 2\t日記なし\n"))
      << run.out;

  // A wrong definition learned, a diary begun: back to this morning, the
  // diary kept.
  Run({"add", "definition", "猫", "魚"});
  Write("diary.dat", "今日の日記\r\n");
  const std::string brain = Read("brain.dat");
  run = Run({"restore", today});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with(
      "今のファイルをバックアップしました: " + today + "-"));
  EXPECT_NE(run.out.find("brain.dat を戻しました\n"), std::string::npos);
  EXPECT_NE(run.out.find("diary.dat はバックアップにないので、そのままにしま"
                         "した\n"),
            std::string::npos);
  EXPECT_EQ(Read("brain.dat"),
            "【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n猫＝哺乳類＊動物\r\n");
  EXPECT_EQ(Read("diary.dat"), "今日の日記\r\n");
  // The snapshot holds what the restore replaced.
  const std::string snapshot = run.out.substr(
      run.out.find(": ") + 2, run.out.find('\n') - run.out.find(": ") - 2);
  EXPECT_EQ(NarrowToUtf8(home_.ReadBytes("state/holvan/backups/" + snapshot +
                                         "/brain.dat")),
            brain);
  EXPECT_TRUE(home_.Exists("state/holvan/backups/" + snapshot + "/diary.dat"));
  run = Run({"restore", "--exact", today, "diary.dat"});
  EXPECT_NE(run.out.find("diary.dat を消しました（バックアップにないため）\n"),
            std::string::npos)
      << run.out;
  EXPECT_FALSE(home_.Exists("data/holvan/diary.dat"));
  EXPECT_EQ(Run({"restore", "2020-01-01"}).status, 1);

  // A phrase removed goes from the three backups too, by its line or by its
  // text when res.dat no longer has it.
  EXPECT_EQ(
      Run({"remove", "phrase", "--line", "2"}).out,
      "res.dat の 2 行目を消しました\nバックアップ 3 個からも消しました\n");
  EXPECT_EQ(Run({"remove", "phrase", "こんにちは", "--keep-in-backups"}).out,
            "res.dat から「こんにちは」を消しました（1 行目）\n");
  EXPECT_EQ(Run({"remove", "phrase", "こんにちは"}).out,
            "「こんにちは」は res.dat にはありませんでしたが、バックアップ 3 "
            "個から消しました\n");
  run = Run({"remove", "phrase", "こんにちは"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "holvan-memory: 「こんにちは」は res.dat にありません\n");

  // Another folder's backups never mix with the user's own.
  TempDir other;
  run = Run({"--dir", other.path(), "backup"});
  EXPECT_EQ(run.status, 2);
  run = Run({"--dir", other.path(), "--backups", other.File("b"), "backups"});
  EXPECT_EQ(run.out, "バックアップはありません\n");
}

// A command reads only the files it needs: beside it the other memory files
// are larger than memory and swap (sparse: they take no room), which reading
// would refuse, and they stay as they were.
TEST_F(MemoryCliTest, ReadsOnlyTheFilesItNeeds) {
  const std::pair<std::string, std::vector<std::vector<std::string>>>
      kCommands[] = {
          {"dic.dat",
           {{"list", "dic"},
            {"add", "fact", "京都", "古い都"},
            {"change", "fact", "京都", "千年の都"},
            {"remove", "fact", "京都"},
            {"import", "dic", "-"}}},
          {"brain.dat",
           {{"list", "brain"},
            {"add", "definition", "猫", "魚"},
            {"remove", "definition", "猫", "魚"}}},
          {"res.dat",
           {{"list", "phrases"}, {"remove", "phrase", "こんにちは"}}},
          {"holv.dat", {{"list", "profile"}, {"rename", "花子"}}},
      };
  constexpr off_t kHuge = off_t{200} << 30;
  const std::map<std::string, std::string> files = {
      {"dic.dat", home_.ReadBytes("data/holvan/dic.dat")},
      {"brain.dat", home_.ReadBytes("data/holvan/brain.dat")},
      {"res.dat", home_.ReadBytes("data/holvan/res.dat")},
      {"holv.dat", home_.ReadBytes("data/holvan/holv.dat")},
      {"diary.dat", ""}};
  for (const auto& [needed, commands] : kCommands) {
    std::map<std::string, struct stat> huge;
    for (const auto& [name, bytes] : files) {
      home_.WriteBytes("data/holvan/" + name, bytes);
      if (name == needed) continue;
      ASSERT_EQ(::truncate(File(name).c_str(), kHuge), 0);
      ASSERT_EQ(::stat(File(name).c_str(), &huge[name]), 0);
    }
    for (const std::vector<std::string>& args : commands) {
      const ProgramRun run = Run(args, "奈良*鹿のいる都\n");
      EXPECT_EQ(run.status, 0) << args[0] << " " << args[1] << ": " << run.err;
    }
    for (const auto& [name, before] : huge) {
      struct stat after;
      ASSERT_EQ(::stat(File(name).c_str(), &after), 0);
      EXPECT_EQ(after.st_ino, before.st_ino) << name;
      EXPECT_EQ(after.st_size, kHuge) << name;
      EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec) << name;
    }
  }
  EXPECT_EQ(Read("holv.dat"), "花子\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
}

// Keys and texts are matched by their characters: one written with the other
// code of a character that has two (∵ as 87 9A, 纊 as ED 40) is found as it
// is listed, and the lines no command names keep their bytes. A TAB or another
// control character in a key or text shows as U+FFFD, the columns as TABs.
TEST_F(MemoryCliTest, FindsKeysByTheirCharactersAndKeepsTheColumns) {
  const std::string because = "\x87\x9A";  // ∵, preferred 81 E6
  const std::string kanji = "\xED\x40";    // 纊, preferred FA 5C
  home_.WriteBytes(
      "data/holvan/dic.dat",
      because + Sj("*理由\r\n東京*首都\r\n") + "a\tb*c\x1B[2Jd\r\n");
  home_.WriteBytes("data/holvan/brain.dat",
                   Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n") + kanji +
                       Sj("＝綿＊絹\r\n"));
  home_.WriteBytes("data/holvan/res.dat", kanji + Sj("です\r\nやあ\r\n"));
  EXPECT_EQ(Run({"list", "dic"}).out,
            "1\t∵\t理由\n2\t東京\t首都\n3\ta\uFFFDb\tc\uFFFD[2Jd\n");
  EXPECT_EQ(Run({"add", "fact", "∵", "x"}).err,
            "holvan-memory: 「∵」は dic.dat の 1 行目にあります\n");
  const std::pair<std::vector<std::string>, std::string> kSteps[] = {
      {{"remove", "fact", "∵"}, "dic.dat から「∵」を消しました（1 行目）\n"},
      {{"add", "definition", "纊", "糸"},
       "brain.dat の 3 行目の「纊」に意味「糸」を加えました\n"},
      {{"remove", "definition", "纊", "綿"},
       "「纊」の意味「綿」を消しました\n"},
      {{"remove", "phrase", "纊です"},
       "res.dat から「纊です」を消しました（1 行目）\n"
       "バックアップにはありませんでした\n"},
  };
  for (const auto& [args, said] : kSteps) {
    const ProgramRun run = Run(args);
    EXPECT_EQ(run.out, said) << args[0] << " " << args[1] << ": " << run.err;
  }
  EXPECT_EQ(home_.ReadBytes("data/holvan/dic.dat"),
            Sj("東京*首都\r\n") + "a\tb*c\x1B[2Jd\r\n");
  // The key keeps its bytes.
  EXPECT_EQ(home_.ReadBytes("data/holvan/brain.dat"),
            Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n") + kanji +
                Sj("＝糸＊絹\r\n"));
  EXPECT_EQ(Read("res.dat"), "やあ\r\n");
}

// Characters that code page 932 lacks but has a look-alike for are stored as
// the look-alike, and told on standard error.
TEST_F(MemoryCliTest, TellsWhichCharactersWereStoredAsLookAlikes) {
  ProgramRun run = Run({"add", "fact", "波〜", "¥100−50〜"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "dic.dat の 3 行目に「波～」を加えました\n");
  EXPECT_EQ(run.err,
            "holvan-memory: コードページ 932 にない文字を似た文字に置き換えま"
            "した: 「〜」(U+301C) → 「～」(U+FF5E)\n"
            "holvan-memory: コードページ 932 にない文字を似た文字に置き換えま"
            "した: 「¥」(U+00A5) → 「\\」(U+005C)、「−」(U+2212) → 「－」"
            "(U+FF0D)、「〜」(U+301C) → 「～」(U+FF5E)\n");
  EXPECT_EQ(Read("dic.dat"),
            "東京*日本の首都\r\n大阪*西の都\r\n波～*\\100－50～\r\n");
  // Found as stored.
  EXPECT_EQ(Run({"remove", "fact", "波〜"}).status, 0);
  run = Run({"import", "dic", "-"}, "いい*ok\n波〜*うねり\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err,
            "holvan-memory: 2 行目: コードページ 932 にない文字を似た文字に置き"
            "換えました: 「〜」(U+301C) → 「～」(U+FF5E)\n");
  EXPECT_EQ(Run({"rename", "太郎"}).err, "");
}

TEST_F(MemoryCliTest, HolvanAndTheEditorsNeverWriteAtOnce) {
  const std::string brain = home_.ReadBytes("data/holvan/brain.dat");
  const std::string dictionary = home_.ReadBytes("data/holvan/dic.dat");
  {
    TermDriver holvan(memory_folder(), FixedClock());
    ASSERT_TRUE(holvan.WaitOut("太郎"));
    ProgramRun run = Run({"add", "definition", "猫", "魚"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err,
              "holvan-memory: Holvan の終了後に編集できます（holvan-term、"
              "プロセス " +
                  std::to_string(holvan.pid()) + "）\n");
    EXPECT_EQ(Run({"backup"}).status, 3);
    EXPECT_EQ(Run({"restore", "2026-12-01"}).status, 3);
    // Looking needs no lock.
    EXPECT_EQ(Run({"list", "dic"}).status, 0);
    EXPECT_EQ(Run({"check"}).status, 0);
    EXPECT_EQ(home_.ReadBytes("data/holvan/brain.dat"), brain);
    EXPECT_EQ(home_.ReadBytes("data/holvan/dic.dat"), dictionary);
    EXPECT_FALSE(home_.Exists("state/holvan/backups"));
    EXPECT_EQ(holvan.Finish(), 0);
  }

  // While holvan-memory holds the folder (reading a list to import from its
  // stdin), Holvan does not start.
  PipedProgram importing(
      {HOLVAN_MEMORY_PATH, "--dir", memory_folder(), "import", "dic", "-"},
      home_.File("import.out"));
  ASSERT_TRUE(WaitUntilLocked(memory_folder(), importing.pid()));
  const TermResult refused = RunTermOnce(memory_folder(), "こんにちは\n");
  EXPECT_EQ(refused.status, 3);
  EXPECT_EQ(refused.err, "holvan-memory（プロセス " +
                             std::to_string(importing.pid()) +
                             "）がこのフォルダを使っています\n");
  EXPECT_EQ(importing.Finish("京都*古い都\n"), 0)
      << home_.ReadBytes("import.out");
  EXPECT_EQ(Read("dic.dat"),
            "東京*日本の首都\r\n大阪*西の都\r\n京都*古い都\r\n");
}

}  // namespace
}  // namespace holvan::testing
