// 「記憶の整理」 on a memory folder, driven as a user drives it on the
// offscreen platform: the time until it is ready (the window shown with its
// first page listed and the search box taking typing), its peak memory, the
// search keystrokes 猫, 猫が and back to nothing, and one entry's edit, undo
// and save. Prints one JSON object; ready_ns is the monotonic clock at ready,
// for the parent that started the program to take the difference.
//
// usage: holvan-bench-editor FOLDER [ROUNDS]

#include <time.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "editor/editor_window.h"
#include "files/atomic_save.h"
#include "store/data_files.h"

namespace {

using holvan::editor::EditorWindow;
using holvan::memory::MemoryFile;
using holvan::memory::MemoryFolder;

constexpr int kPatienceMs = 600000;

long long MonotonicNs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The peak resident bytes so far (VmHWM).
unsigned long long PeakBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
  }
  return 0;
}

double Percentile(std::vector<double> samples, double at) {
  std::sort(samples.begin(), samples.end());
  const auto index = static_cast<std::size_t>(at * (samples.size() - 1) + 0.5);
  return samples[index];
}

// Milliseconds that step takes, with the repaint it causes.
template <typename Step>
double TimedMs(Step step) {
  QElapsedTimer timer;
  timer.start();
  step();
  QApplication::processEvents();
  return timer.nsecsElapsed() / 1e6;
}

void Wait(const std::function<bool()>& done) {
  if (!QTest::qWaitFor(done, kPatienceMs)) {
    std::fprintf(stderr, "gave up waiting\n");
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s FOLDER [ROUNDS]\n", argv[0]);
    return 2;
  }
  const long long start_ns = MonotonicNs();
  const std::string folder = argv[1];
  const int rounds = argc > 2 ? std::stoi(argv[2]) : 10;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  QApplication application(qt_argc, argv);

  EditorWindow window(folder);
  window.Start();
  auto* search = window.findChild<QLineEdit*>(QStringLiteral("search_box"));
  auto* facts =
      window.findChild<QAbstractItemView*>(QStringLiteral("facts_list"));
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  Wait([&] {
    return facts->model()->rowCount() > 0 && search->isEnabled() &&
           search->isVisible();
  });
  QApplication::processEvents();
  const long long ready_ns = MonotonicNs();
  const unsigned long long ready_peak = PeakBytes();

  // Each keystroke's own time, then the search let finish, as a typist's
  // pause gives it.
  std::vector<double> keys;
  std::vector<double> searches;
  const auto type = [&](const std::function<void()>& key) {
    QElapsedTimer whole;
    whole.start();
    keys.push_back(TimedMs(key));
    Wait([&] { return !window.searching(); });
    searches.push_back(whole.nsecsElapsed() / 1e6);
  };
  const auto character = [&](const char* utf8) {
    return [=] {
      QTest::sendKeyEvent(QTest::Click, search, Qt::Key_unknown,
                          QString::fromUtf8(utf8), Qt::NoModifier);
    };
  };
  const auto back = [&] { QTest::keyClick(search, Qt::Key_Backspace); };
  for (int i = 0; i < rounds; ++i) {
    type(character("猫"));
    type(character("が"));
    type(back);
    type(back);
  }
  if (!search->text().isEmpty()) return 1;

  // One fact in the middle of dic.dat, changed and taken back; then changed
  // and saved, in turn with the file's write alone (the same bytes written as
  // a save writes them), a few times: a sync's time varies much.
  const auto& lines = window.memory()->Lines(MemoryFile::kDictionary);
  const int32_t line = lines.Count() / 2;
  const std::string text(lines.Text(line - 1));
  const std::string key = text.substr(0, text.find('*'));
  const auto change = [&](const std::string& to) {
    window.Edit(
        [&](MemoryFolder& memory) { memory.ChangeFact(line, key, to); });
  };
  const double edit_ms = TimedMs([&] { change("x"); });
  auto* undo = window.findChild<QPushButton*>(QStringLiteral("undo_button"));
  const double undo_ms = TimedMs([&] { undo->click(); });
  auto* save = window.findChild<QPushButton*>(QStringLiteral("save_button"));
  const std::string path =
      holvan::DataFilePath(folder, holvan::FileName(MemoryFile::kDictionary));
  std::vector<double> saves;
  std::vector<double> writes;
  // The editor's own peak, before the benchmark copies the file's bytes.
  unsigned long long peak = 0;
  for (int i = 0; i < 5; ++i) {
    change(std::to_string(i));
    saves.push_back(TimedMs([&] { save->click(); }));
    if (window.memory()->CanUndo()) return 1;
    if (i == 0) peak = PeakBytes();
    const std::string bytes =
        window.memory()->Lines(MemoryFile::kDictionary).Bytes();
    writes.push_back(TimedMs([&] { holvan::SaveFileAtomically(path, bytes); }));
  }
  const double save_ms = Percentile(saves, 0.5);
  const double write_ms = Percentile(writes, 0.5);

  std::printf(
      "{\"ready_ns\": %lld, \"ready_ms\": %.1f, \"ready_peak_bytes\": %llu, "
      "\"peak_bytes\": %llu, \"keys\": %zu, \"key_p50_ms\": %.2f, "
      "\"key_p95_ms\": %.2f, \"search_p50_ms\": %.1f, \"search_p95_ms\": "
      "%.1f, \"edit_ms\": %.1f, \"undo_ms\": %.1f, \"save_ms\": %.1f, "
      "\"write_ms\": %.1f}\n",
      ready_ns, (ready_ns - start_ns) / 1e6, ready_peak, peak, keys.size(),
      Percentile(keys, 0.5), Percentile(keys, 0.95), Percentile(searches, 0.5),
      Percentile(searches, 0.95), edit_ms, undo_ms, save_ms, write_ms);
  window.close();
  return 0;
}
