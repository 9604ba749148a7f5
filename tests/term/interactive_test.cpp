#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

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

// A tmux server of this test's own, on a socket in a temporary folder.
class Tmux {
 public:
  Tmux() : socket_(dir_.File("socket")) {}
  ~Tmux() { Run({"kill-server"}); }

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

  /// Waits up to timeout for the screen to satisfy done.
  bool WaitFor(const std::function<bool(const std::vector<std::string>&)>& done,
               std::chrono::seconds timeout = std::chrono::seconds(15)) {
    const auto give_up = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < give_up) {
      if (done(Screen())) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  void Type(const std::string& text) { Run({"send-keys", "-l", text}); }
  void Enter() { Run({"send-keys", "Enter"}); }

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

TEST(InteractiveTest, RemarkWhileTypingLeavesTheLineIntact) {
  if (std::system("command -v tmux >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "tmux is not installed";
  }
  TempDir dir;
  dir.WriteBytes("holv.dat", Profile(1, 0, 0));
  dir.WriteSj("dic.dat", "大阪*商人の町\r\n");
  dir.WriteBytes("res.dat", "");
  // The first tick, 5 s after the start, tells the fact.
  const uint32_t seed = SeedFor({{10, 8}, {1, 0}});
  const std::string remark = "大阪 とは 商人の町の事ですよ 知ってました？";

  Tmux tmux;
  const std::string command =
      "env LANG=C.UTF-8 LC_ALL=C.UTF-8 TERM=xterm " + Quoted(HOLVAN_TERM_PATH) +
      " --seed " + std::to_string(seed) + " --now " + Quoted(std::string(kNow));
  tmux.Run({"new-session", "-d", "-x", "100", "-y", "30", "-c", dir.path(),
            command});
  tmux.Run({"set-option", "-g", "remain-on-exit", "on"});
  ASSERT_TRUE(tmux.WaitFor([](const auto& lines) {
    // The pane drops the prompt's trailing space.
    return LastLineIs(lines, "話す>");
  })) << "no prompt";
  EXPECT_EQ(tmux.Run({"display-message", "-p", "#{pane_title}"}), "Holvan\n");

  tmux.Type("こんに");
  ASSERT_TRUE(tmux.WaitFor([&](const auto& lines) {
    return Shows(lines, remark);
  })) << "no remark";
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
  ASSERT_TRUE(tmux.WaitFor([](const auto& lines) {
    return Shows(lines, "東京 についての情報がありません 教えて下さい");
  }));
  tmux.Type("日本の首都");
  tmux.Enter();
  ASSERT_TRUE(tmux.WaitFor([](const auto& lines) {
    return LastLineIs(lines, "話す> いいよ");
  })) << "no pre-filled prompt";
  tmux.Enter();
  ASSERT_TRUE(tmux.WaitFor(
      [](const auto& lines) { return Shows(lines, "ありがとう 覚えました"); }));

  tmux.Type("/quit");
  tmux.Enter();
  ASSERT_TRUE(tmux.WaitFor(
      [](const auto& lines) { return Shows(lines, "終了します　　"); }));
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Profile(2, 0, 0));
  EXPECT_EQ(dir.ReadBytes("res.dat"),
            Sj("こんにちは\r\n東京は？\r\n日本の首都\r\nいいよ\r\n"));
}

}  // namespace
}  // namespace holvan::testing
