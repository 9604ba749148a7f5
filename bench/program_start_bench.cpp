// Starting a program through 命令 (the command menu, "４" and the program's
// name) in a process that holds the stores of a data folder: the median time
// of the turn that starts it, over the first starts and again after a number
// of turns of the script. Runs in the current folder, which holds a copy of
// the data files, with the system's own platform. Prints one JSON object.
//
// usage: holvan-bench-start SCRIPT TURNS

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "conversation/companion.h"
#include "conversation/quiet_view.h"
#include "script.h"
#include "support/turn.h"
#include "system/system_platform.h"
#include "text/cp932.h"

namespace {

using Clock = std::chrono::steady_clock;
using holvan::NarrowText;
using holvan::testing::TalkAndCloseIfAsked;

// The program started: it ends at once and leaves nothing behind.
constexpr const char* kProgram = "true";
constexpr int kStarts = 500;

// Resident bytes now (VmRSS).
unsigned long long ResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
  }
  return 0;
}

// The median microseconds of the turn that names the program, over kStarts
// starts.
double StartMicroseconds(holvan::Companion& companion) {
  const NarrowText menu = holvan::Utf8ToNarrow("命令");
  const NarrowText name_a_program = holvan::Utf8ToNarrow("４");
  std::vector<double> samples;
  for (int i = 0; i < kStarts; ++i) {
    TalkAndCloseIfAsked(companion, menu);
    TalkAndCloseIfAsked(companion, name_a_program);
    const Clock::time_point start = Clock::now();
    TalkAndCloseIfAsked(companion, kProgram);
    samples.push_back(
        std::chrono::duration<double, std::micro>(Clock::now() - start)
            .count());
  }
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SCRIPT TURNS\n", argv[0]);
    return 2;
  }
  const std::vector<holvan::bench::Step> steps =
      holvan::bench::ReadScript(argv[1]);
  const std::size_t turns = std::stoul(argv[2]);
  holvan::QuietView view;
  holvan::system::SystemPlatform platform(
      {20240101, holvan::Moment{2024, 5, 1, 12, 30, 0, 0}});
  holvan::Companion companion(view, platform);
  companion.Start();
  // Unmeasured starts first, so that both measured rounds find the starting
  // machinery (thread stacks, the program's path, the loader) already warm.
  StartMicroseconds(companion);
  const double first_us = StartMicroseconds(companion);
  const unsigned long long first_rss = ResidentBytes();
  for (std::size_t t = 0; t < turns; ++t) {
    const holvan::bench::Step& step = steps[t % steps.size()];
    if (step.tick) {
      companion.IdleTick();
    } else {
      TalkAndCloseIfAsked(companion, step.line);
    }
  }
  // The menu must be reachable: the script ends where no question waits.
  if (companion.state().mode != holvan::Mode::kFree) {
    std::fprintf(stderr, "the script left a question waiting\n");
    return 1;
  }
  const double late_us = StartMicroseconds(companion);
  std::printf(
      "{\"turns\": %zu, \"first_median_us\": %.1f, \"late_median_us\": %.1f, "
      "\"first_rss_bytes\": %llu, \"late_rss_bytes\": %llu}\n",
      turns, first_us, late_us, first_rss, ResidentBytes());
  return 0;
}
