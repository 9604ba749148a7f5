#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/waiting.h"
#include "term_process.h"

namespace holvan::testing {
namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// Whether process pid has ended (gone, or a zombie nobody collected).
bool Ended(const std::string& pid) {
  std::ifstream stat("/proc/" + pid + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const std::size_t state = line.rfind(')') + 2;
  return state >= line.size() || line[state] == 'Z';
}

// A tmux server of this test's own, on a socket in a temporary folder.
class Tmux {
 public:
  Tmux() : socket_(dir_.File("socket")) {}
  // The programs in the panes outlive the server while they close: they are
  // waited for, so that the next Holvan started on their folder finds it
  // free.
  ~Tmux() {
    std::istringstream pids(Run({"list-panes", "-a", "-F", "#{pane_pid}"}));
    Run({"kill-server"});
    for (std::string pid; std::getline(pids, pid);) {
      WaitUntil([&] { return Ended(pid); });
    }
  }

  std::string Run(const std::vector<std::string>& args) {
    // -u: the pane and the captures are UTF-8 whatever the locale.
    std::string command = "tmux -u -f /dev/null -S " + Quoted(socket_);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    command += " 2>/dev/null";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[4096];
      std::size_t got;
      while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, got);
      }
      pclose(pipe);
    }
    return out;
  }

  /// The pane's lines, without the empty ones at the bottom.
  std::vector<std::string> Screen() {
    std::vector<std::string> lines;
    std::string text = Run({"capture-pane", "-p"});
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
  }

  /// Waits for the screen to satisfy done; false when it still does not
  /// after the deadline.
  bool WaitFor(
      const std::function<bool(const std::vector<std::string>&)>& done) {
    return WaitUntil([&] { return done(Screen()); });
  }

  /// Starts holvan-term in folder with the locale settings locale (such as
  /// "LC_ALL=C") on a 100 × 30 pane of the terminal type term, which stays
  /// after it ends; waits for its first prompt.
  bool StartHolvan(const std::string& folder, const std::string& locale,
                   uint32_t seed, const std::string& term = "xterm") {
    const std::string command = "env " + locale + " TERM=" + term + " " +
                                Quoted(HOLVAN_TERM_PATH) + " --seed " +
                                std::to_string(seed) + " --now " +
                                Quoted(std::string(kNow));
    Run({"new-session", "-d", "-x", "100", "-y", "30", "-c", folder, command});
    Run({"set-option", "-g", "remain-on-exit", "on"});
    return WaitFor([](const std::vector<std::string>& lines) {
      // The pane drops the prompt's trailing space.
      return !lines.empty() && lines.back() == "話す>";
    });
  }

  void Type(const std::string& text) { Run({"send-keys", "-l", text}); }
  /// A key by tmux's name for it: Enter, Tab, BSpace, C-u...
  void Press(const std::string& key) { Run({"send-keys", key}); }
  void Enter() { Press("Enter"); }

 private:
  TempDir dir_;
  std::string socket_;
};

bool LastLineIs(const std::vector<std::string>& lines, const std::string& s) {
  return !lines.empty() && lines.back() == s;
}

bool Shows(const std::vector<std::string>& lines, const std::string& s) {
  for (const std::string& line : lines) {
    if (line == s) return true;
  }
  return false;
}

// Waits for a line of the screen to read line.
bool ScreenShows(Tmux& tmux, const std::string& line) {
  return tmux.WaitFor([&](const auto& lines) { return Shows(lines, line); });
}

// Waits for the prompt's line to read line.
bool PromptReads(Tmux& tmux, const std::string& line) {
  return tmux.WaitFor(
      [&](const auto& lines) { return LastLineIs(lines, line); });
}

// A folder with 太郎's profile and an empty res.dat, and a tmux server.
class InteractiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v tmux >/dev/null 2>&1") != 0) {
      GTEST_SKIP() << "tmux is not installed";
    }
    dir.WriteBytes("holv.dat", Profile(1, 0, 0));
    dir.WriteBytes("res.dat", "");
  }

  TempDir dir;
  Tmux tmux;
};

// The title is set only where terminfo says the terminal takes one.
TEST_F(InteractiveTest, TitleOnlyWhereTheTerminalTakesOne) {
  for (const auto& [term, titled] : std::vector<std::pair<std::string, bool>>{
           {"dumb", false}, {"vt100", false}, {"xterm", true}}) {
    Tmux own;
    ASSERT_TRUE(own.StartHolvan(dir.path(), "LC_ALL=C.UTF-8", 0, term)) << term;
    EXPECT_EQ(own.Run({"display-message", "-p", "#{pane_title}"}) == "Holvan\n",
              titled)
        << term;
  }
}

TEST_F(InteractiveTest, RemarkWhileTypingLeavesTheLineIntact) {
  dir.WriteSj("dic.dat", "大阪*商人の町\r\n");
  // The first tick, 5 s after the start, tells the fact.
  const uint32_t seed = SeedGiving({{10, 8}, {1, 0}});
  const std::string remark = "大阪 とは 商人の町の事ですよ 知ってました？";

  ASSERT_TRUE(tmux.StartHolvan(dir.path(), "LANG=C.UTF-8 LC_ALL=C.UTF-8", seed))
      << "no prompt";
  EXPECT_EQ(tmux.Run({"display-message", "-p", "#{pane_title}"}), "Holvan\n");

  tmux.Type("こんに");
  ASSERT_TRUE(ScreenShows(tmux, remark)) << "no remark";
  std::vector<std::string> lines = tmux.Screen();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[lines.size() - 4],
            "どうも 太郎さん 今日は令和8年12月5日(土曜日)");
  EXPECT_EQ(lines[lines.size() - 3], "時刻は午後3時07分09秒です");
  EXPECT_EQ(lines[lines.size() - 2], remark);
  EXPECT_EQ(lines.back(), "話す> こんに");

  // The line goes on from where it was.
  tmux.Type("ちは");
  tmux.Enter();
  ASSERT_TRUE(tmux.WaitFor([](const auto& lines) {
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
      if (lines[i] == "太郎 > こんにちは") {
        const std::string& reply = lines[i + 1];
        return reply == "今日は天気はどうなんでしょう？" ||
               reply == "ご機嫌いかがですか？" ||
               reply == "今日はどんな事しましょう？";
      }
    }
    return false;
  })) << "no reply";

  // The core's pre-filled input line starts the next prompt.
  tmux.Type("東京は？");
  tmux.Enter();
  ASSERT_TRUE(
      ScreenShows(tmux, "東京 についての情報がありません 教えて下さい"));
  tmux.Type("日本の首都");
  tmux.Enter();
  ASSERT_TRUE(PromptReads(tmux, "話す> いいよ")) << "no pre-filled prompt";
  tmux.Enter();
  ASSERT_TRUE(ScreenShows(tmux, "ありがとう 覚えました"));

  tmux.Type("/quit");
  tmux.Enter();
  ASSERT_TRUE(ScreenShows(tmux, "終了します　　"));
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Profile(2, 0, 0));
  EXPECT_EQ(dir.ReadBytes("res.dat"),
            Sj("こんにちは\r\n東京は？\r\n日本の首都\r\nいいよ\r\n"));
}

// Turning idle remarks off stops the timer; turning them on starts it again.
TEST_F(InteractiveTest, IdleRemarksStopAndStartWithTheSwitch) {
  dir.WriteSj("dic.dat", "大阪*商人の町\r\n");
  // The first tick after the start tells the fact.
  const std::string remark = "大阪 とは 商人の町の事ですよ 知ってました？";
  ASSERT_TRUE(tmux.StartHolvan(dir.path(), "LANG=C.UTF-8",
                               SeedGiving({{10, 8}, {1, 0}})))
      << "no prompt";
  tmux.Type("独り言禁止");
  tmux.Enter();
  ASSERT_TRUE(ScreenShows(
      tmux, "わかりました してもいい時は 独り言許可 と言って下さい"));
  // Longer than a period.
  std::this_thread::sleep_for(std::chrono::seconds(6));
  EXPECT_FALSE(Shows(tmux.Screen(), remark));
  tmux.Type("独り言許可");
  tmux.Enter();
  ASSERT_TRUE(ScreenShows(tmux, "了解しました"));
  EXPECT_TRUE(ScreenShows(tmux, remark));
}

// The prompt's line of a sent line gives its place to the echo, so the
// screen holds each turn once; in the diary, where the Transcript takes the
// line itself, the line shows once too, and a command that shows nothing
// (削除) or only an error (セーブ on a folder) keeps its prompt's line. A line
// wider than the pane goes whole.
TEST_F(InteractiveTest, EachTurnShowsOnce) {
  std::filesystem::create_directory(dir.File("diary.dat"));
  ASSERT_TRUE(tmux.StartHolvan(dir.path(), "LANG=C.UTF-8 LC_ALL=C.UTF-8",
                               SeedGiving({{3, 0}})))
      << "no prompt";
  const std::size_t wide = std::string("あ").size();
  std::string long_line;
  for (int i = 0; i < 55; ++i) long_line += "あ";
  // Idle remarks off first: a tick, which comes 5 s after the start, would
  // add its own lines on a busy machine.
  for (const std::string& line :
       {std::string("独り言禁止"), std::string("こんにちは"),
        std::string("日記"), long_line, std::string("削除"),
        std::string("セーブ"), std::string("終了")}) {
    tmux.Type(line);
    tmux.Enter();
  }
  // The pane is 100 columns wide: 55 wide characters take two rows.
  const std::vector<std::string> expected = {
      "どうも 太郎さん 今日は令和8年12月5日(土曜日)",
      "時刻は午後3時07分09秒です",
      "太郎 > 独り言禁止",
      "わかりました してもいい時は 独り言許可 と言って下さい",
      "太郎 > こんにちは",
      "今日は天気はどうなんでしょう？",
      "太郎 > 日記",
      "",
      "令和8年12月5日(土曜日)午後3時07分09秒",
      "",
      long_line.substr(0, 50 * wide),
      long_line.substr(50 * wide),
      "記入> 削除",
      "記入> セーブ",
      "ﾌｧｲﾙ " +
          (std::filesystem::canonical(dir.path()) / "diary.dat").string() +
          " を作成できません.",
      "終了しました",
      "話す>",
  };
  tmux.WaitFor([&](const auto& lines) { return lines == expected; });
  EXPECT_EQ(tmux.Screen(), expected);
}

// In the C locale Readline would take each byte of a Japanese character for
// a Meta key and count columns by bytes. Typing, editing and Tab still work
// on characters; Tab offers Holvan's command words, never file names.
TEST_F(InteractiveTest, JapaneseTypingAndCompletionInTheCLocale) {
  ASSERT_TRUE(tmux.StartHolvan(dir.path(), "LC_ALL=C", 1)) << "no prompt";

  // A character rubbed out whole, one typed two characters back.
  tmux.Type("猫が好きだよ");
  tmux.Press("BSpace");
  tmux.Type("ね");
  tmux.Press("Left");
  tmux.Press("Left");
  tmux.Type("と");
  ASSERT_TRUE(PromptReads(tmux, "話す> 猫が好きとだね"));
  tmux.Enter();
  ASSERT_TRUE(ScreenShows(tmux, "太郎 > 猫が好きとだね"));

  // "ho" and Tab, with holv.dat in the folder: nothing is added.
  tmux.Type("ho");
  tmux.Press("Tab");
  tmux.Type("!");
  ASSERT_TRUE(PromptReads(tmux, "話す> ho!"));
  tmux.Press("C-u");
  tmux.Type("おみ");
  tmux.Press("Tab");
  ASSERT_TRUE(PromptReads(tmux, "話す> おみくじ"));
  tmux.Enter();
  tmux.Type("日");
  tmux.Press("Tab");
  tmux.Enter();
  ASSERT_TRUE(PromptReads(tmux, "記入>"));
  // The diary's own words, with no space after: "セーブ" saves.
  tmux.Type("セ");
  tmux.Press("Tab");
  tmux.Enter();
  ASSERT_TRUE(ScreenShows(tmux, "保存しました"));

  tmux.Type("/quit");
  tmux.Enter();
  ASSERT_TRUE(ScreenShows(tmux, "終了します　　"));
  EXPECT_EQ(dir.ReadBytes("res.dat"),
            Sj("猫が好きとだね\r\nおみくじ\r\n日記\r\nセーブ\r\n"));
  EXPECT_EQ(dir.ReadBytes("diary.dat"),
            Sj("\r\n令和8年12月5日(土曜日)午後3時07分09秒\r\n\r\n"));
}

}  // namespace
}  // namespace holvan::testing
