// The main window under benchmark, in the current folder.
//
//   holvan-bench-window first-frame
//     starts as the program does and prints the monotonic clock at the first
//     frame, then ends;
//   holvan-bench-window greeting
//     starts as the program does and prints the monotonic clock once the
//     memory is loaded and the greeting (or the name question) is painted,
//     then ends;
//   holvan-bench-window turns SCRIPT N
//     types N lines of the script (cycling; idle ticks, the diary and the
//     command menus left out) into one window, each turn timed with the
//     repaint that follows it, and prints the mean and median of the first
//     1,000 turns and of the 1,000 after the first N as JSON.

#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "first_frame.h"
#include "qt/input_line.h"
#include "qt/program_end.h"
#include "script.h"
#include "system/system_platform.h"
#include "text/cp932.h"
#include "ui/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kWindow = 1000;

// The typed lines of the script without ticks, diary visits (the diary
// empties the Transcript) and command menus (they start programs, whose cost
// is the system's and grows with the memory of the program that starts them).
std::vector<holvan::NarrowText> TypedLines(const std::string& path) {
  using holvan::Utf8ToNarrow;
  const holvan::NarrowText diary = Utf8ToNarrow("日記");
  const holvan::NarrowText leave = Utf8ToNarrow("止める");
  const holvan::NarrowText menu = Utf8ToNarrow("命令");
  const holvan::NarrowText name_a_program = Utf8ToNarrow("４");
  std::vector<holvan::NarrowText> lines;
  bool in_diary = false;
  int menu_lines = 0;
  for (const holvan::bench::Step& step : holvan::bench::ReadScript(path)) {
    if (step.tick) continue;
    if (menu_lines > 0) {
      // The menu's answer, and after "４" the program's name.
      menu_lines = step.line == name_a_program ? 1 : menu_lines - 1;
      continue;
    }
    if (step.line.rfind(menu, 0) == 0 || step.line == "command") {
      menu_lines = 1;
      continue;
    }
    if (step.line.rfind(diary, 0) == 0) in_diary = true;
    if (!in_diary) lines.push_back(step.line);
    if (step.line == leave) in_diary = false;
  }
  return lines;
}

struct Summary {
  double mean_us;
  double median_us;
};

Summary Summarise(std::vector<double> samples) {
  double total = 0;
  for (double s : samples) total += s;
  std::sort(samples.begin(), samples.end());
  return {total / samples.size() * 1e6, samples[samples.size() / 2] * 1e6};
}

int Turns(const std::string& script, std::size_t turns) {
  const std::vector<holvan::NarrowText> lines = TypedLines(script);
  holvan::system::SystemPlatform platform;
  holvan::MainWindow window(platform);
  window.Start();
  while (window.loading()) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  QApplication::processEvents();
  auto* talk = window.findChild<QPushButton*>(QStringLiteral("talk_button"));
  auto* input =
      window.findChild<holvan::InputLine*>(QStringLiteral("input_line"));
  std::vector<double> first;
  std::vector<double> late;
  for (std::size_t t = 0; t < turns + kWindow; ++t) {
    input->SetLine(lines[t % lines.size()]);
    const Clock::time_point start = Clock::now();
    talk->click();
    QApplication::processEvents();
    const double seconds =
        std::chrono::duration<double>(Clock::now() - start).count();
    if (t < kWindow) first.push_back(seconds);
    if (t >= turns) late.push_back(seconds);
  }
  const Summary a = Summarise(first);
  const Summary b = Summarise(late);
  std::printf(
      "{\"turns\": %zu, \"first_mean_us\": %.2f, \"first_median_us\": %.2f, "
      "\"late_mean_us\": %.2f, \"late_median_us\": %.2f, "
      "\"transcript_bytes\": %zu}\n",
      turns, a.mean_us, a.median_us, b.mean_us, b.median_us,
      window.companion().transcript().Text().size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Holvan"));
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "turns" && argc > 3) {
    return Turns(argv[2], std::stoul(argv[3]));
  }
  if (mode != "first-frame" && mode != "greeting") {
    std::fprintf(stderr, "usage: %s first-frame | greeting | turns SCRIPT N\n",
                 argv[0]);
    return 2;
  }
  holvan::system::SystemPlatform platform;
  holvan::MainWindow window(platform);
  holvan::SaveAtProgramEnd(window);
  std::optional<holvan::bench::FirstFrameProbe> probe;
  if (mode == "first-frame") {
    probe.emplace(&window);
  } else {
    QObject::connect(&window, &holvan::MainWindow::Started, [&window] {
      window.repaint();
      holvan::bench::PrintClockAndExit();
    });
  }
  window.Start();
  return QApplication::exec();
}
