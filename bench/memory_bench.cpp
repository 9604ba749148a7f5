// Peak memory of a whole run: start-up on a copy of the data files, the
// script, and the saving at exit; and how long the start-up took in this
// fresh process. Prints one JSON object.
//
// usage: holvan-bench-memory DATA_DIR SCRIPT SCRATCH_DIR [reference]

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_platform.h"
#include "conversation/companion.h"
#include "conversation/quiet_view.h"
#include "script.h"
#include "support/turn.h"

namespace {

// A field of /proc/self/status in bytes ("VmHWM", "VmRSS").
uint64_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) {
      return std::stoull(line.substr(field.size() + 1)) * 1024;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  using namespace holvan;
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s DATA_DIR SCRIPT SCRATCH_DIR [reference]\n",
                 argv[0]);
    return 2;
  }
  const fs::path data = argv[1];
  const fs::path scratch = argv[3];
  const bool reference = argc > 4 && std::string(argv[4]) == "reference";
  const std::vector<bench::Step> steps = bench::ReadScript(argv[2]);
  fs::create_directories(scratch);
  uint64_t data_bytes = 0;
  for (const char* name : {"brain.dat", "dic.dat", "res.dat", "holv.dat"}) {
    fs::copy_file(data / name, scratch / name,
                  fs::copy_options::overwrite_existing);
    data_bytes += fs::file_size(data / name);
  }
  const uint64_t before = StatusBytes("VmHWM");

  QuietView view;
  testing::FakePlatform platform = bench::BenchPlatform(scratch.string());
  testing::OpenCompanion companion(view, platform);
  if (reference) {
    Stores& stores = companion.conversation().stores;
    stores.brain.SetLookup(Lookup::kScan);
    stores.dictionary.SetLookup(Lookup::kScan);
    stores.phrase_log.SetLookup(Lookup::kScan);
  }
  const auto start = std::chrono::steady_clock::now();
  companion.Start();
  const double load_ms = std::chrono::duration<double, std::milli>(
                             std::chrono::steady_clock::now() - start)
                             .count();
  const uint64_t loaded = StatusBytes("VmRSS");
  for (const bench::Step& step : steps) {
    if (step.tick) {
      companion.IdleTick();
    } else {
      testing::TalkAndCloseIfAsked(companion, step.line);
    }
  }
  companion.Close();
  std::printf(
      "{\"data_bytes\": %llu, \"start_peak_bytes\": %llu, "
      "\"loaded_rss_bytes\": %llu, \"peak_bytes\": %llu, "
      "\"fresh_start_ms\": %.1f}\n",
      static_cast<unsigned long long>(data_bytes),
      static_cast<unsigned long long>(before),
      static_cast<unsigned long long>(loaded),
      static_cast<unsigned long long>(StatusBytes("VmHWM")), load_ms);
  return 0;
}
