// The core's benchmarks: turns of the script on stores of every size, with
// the indexed lookups and with the plain scans; loading and saving the data
// files against reading and writing the same bytes.
//
// usage: holvan-bench-core --data=DIR --scratch=DIR [--sizes=0,1000,...]
//        [--reference-sizes=...] [Google Benchmark flags]

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_platform.h"
#include "conversation/companion.h"
#include "conversation/quiet_view.h"
#include "files/atomic_save.h"
#include "files/read_file.h"
#include "script.h"
#include "store/data_files.h"
#include "support/turn.h"

namespace holvan::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kDataFiles[] = {"brain.dat", "dic.dat", "res.dat",
                                      "holv.dat"};

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// The value below which the given share of the sorted samples lie.
double Percentile(std::vector<double> samples, double share) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const auto at = static_cast<std::size_t>(share * (samples.size() - 1) + 0.5);
  return samples[at];
}

// The whole script once, on stores freshly loaded from folder; each step
// timed on its own.
void Turns(benchmark::State& state, const std::string& folder,
           const std::vector<Step>& steps, Lookup lookup) {
  std::vector<double> samples;
  for (auto _ : state) {
    QuietView view;
    testing::FakePlatform platform = BenchPlatform(folder);
    testing::OpenCompanion companion(view, platform);
    Stores& stores = companion.conversation().stores;
    stores.brain.SetLookup(lookup);
    stores.dictionary.SetLookup(lookup);
    stores.phrase_log.SetLookup(lookup);
    companion.Start();
    // The turns of a user who types once the indexes are built beside: one
    // lookup in each store waits for its build.
    stores.phrase_log.Contains("");
    stores.brain.FindKeyStartingWith("");
    stores.dictionary.Find("");
    bool close_asked = false;
    double total = 0;
    for (const Step& step : steps) {
      const Clock::time_point start = Clock::now();
      if (step.tick) {
        companion.IdleTick();
      } else {
        RunTurn(companion, step.line, testing::Unguarded,
                [&close_asked] { close_asked = true; });
      }
      const double seconds = Seconds(Clock::now() - start);
      samples.push_back(seconds);
      total += seconds;
    }
    if (close_asked) state.SkipWithError("the script closed");
    state.SetIterationTime(total);
  }
  state.counters["p50_us"] = Percentile(samples, 0.50) * 1e6;
  state.counters["p99_us"] = Percentile(samples, 0.99) * 1e6;
  state.counters["max_us"] = Percentile(samples, 1.0) * 1e6;
}

// LoadStores on the four files, each time on a heap tidied as a fresh
// process has it (the stores of the last round freed and given back).
void Load(benchmark::State& state, const std::string& folder, Lookup lookup) {
  for (auto _ : state) {
    ::malloc_trim(0);
    Stores stores;
    stores.brain.SetLookup(lookup);
    stores.dictionary.SetLookup(lookup);
    stores.phrase_log.SetLookup(lookup);
    const Clock::time_point start = Clock::now();
    LoadStores(folder, stores);
    state.SetIterationTime(Seconds(Clock::now() - start));
  }
}

// The four files read whole into memory, nothing more, on a heap tidied as
// Load's is: without that, the bytes land in pages the benchmarks before
// touched and the reading looks three times cheaper than a process can have.
void Read(benchmark::State& state, const std::string& folder) {
  for (auto _ : state) {
    ::malloc_trim(0);
    std::vector<FileBytes> contents;
    const Clock::time_point start = Clock::now();
    for (const char* name : kDataFiles) {
      contents.push_back(ReadFileBytes(DataFilePath(folder, name)));
    }
    state.SetIterationTime(Seconds(Clock::now() - start));
    benchmark::DoNotOptimize(contents.data());
  }
}

// A scratch folder holding the files that the exit writes, so that it
// writes all three.
std::string SaveFolder(const std::string& scratch, const std::string& name) {
  const std::string folder = scratch + "/" + name;
  std::filesystem::create_directories(folder);
  for (const char* file : {"holv.dat", "brain.dat", "res.dat"}) {
    SaveFileAtomically(DataFilePath(folder, file), "");
  }
  return folder;
}

// SaveStores as the exit runs it, on stores loaded from folder.
void Save(benchmark::State& state, const std::string& folder,
          const std::string& scratch) {
  Stores stores;
  UpdateProfile(LoadStores(folder, stores), stores.profile_lines);
  const std::string target = SaveFolder(scratch, "save");
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    SaveStores(target, stores);
    state.SetIterationTime(Seconds(Clock::now() - start));
  }
}

// The same bytes written to the same files and synced, nothing more.
void WriteAndSync(benchmark::State& state, const std::string& folder,
                  const std::string& scratch) {
  Stores stores;
  UpdateProfile(LoadStores(folder, stores), stores.profile_lines);
  const std::string target = SaveFolder(scratch, "write");
  // The bytes the exit writes, taken from one save.
  SaveStores(target, stores);
  std::vector<std::pair<std::string, FileBytes>> files;
  for (const char* name : {"holv.dat", "brain.dat", "res.dat"}) {
    files.emplace_back(name, ReadFileBytes(DataFilePath(target, name)));
  }
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    for (const auto& [name, bytes] : files) {
      const std::string path = DataFilePath(target, name);
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0 ||
          ::write(fd, bytes.data(), bytes.size()) !=
              static_cast<ssize_t>(bytes.size()) ||
          ::fsync(fd) != 0) {
        state.SkipWithError("write failed");
      }
      if (fd >= 0) ::close(fd);
    }
    state.SetIterationTime(Seconds(Clock::now() - start));
  }
}

std::vector<int> ParseSizes(const std::string& list) {
  std::vector<int> sizes;
  std::size_t begin = 0;
  while (begin < list.size()) {
    std::size_t comma = list.find(',', begin);
    if (comma == std::string::npos) comma = list.size();
    sizes.push_back(std::stoi(list.substr(begin, comma - begin)));
    begin = comma + 1;
  }
  return sizes;
}

}  // namespace
}  // namespace holvan::bench

int main(int argc, char** argv) {
  using namespace holvan::bench;
  benchmark::Initialize(&argc, argv);
  std::string data;
  std::string scratch;
  std::vector<int> sizes = {0, 1000, 10000, 100000, 1000000};
  std::vector<int> reference_sizes = sizes;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&arg](const char* flag) {
      const std::string prefix = std::string(flag) + "=";
      return arg.rfind(prefix, 0) == 0 ? arg.substr(prefix.size())
                                       : std::string();
    };
    if (!value("--data").empty()) data = value("--data");
    if (!value("--scratch").empty()) scratch = value("--scratch");
    if (!value("--sizes").empty()) sizes = ParseSizes(value("--sizes"));
    if (!value("--reference-sizes").empty()) {
      reference_sizes = ParseSizes(value("--reference-sizes"));
    }
  }
  if (data.empty() || scratch.empty()) {
    std::fprintf(stderr,
                 "usage: %s --data=DIR --scratch=DIR [--sizes=N,...] "
                 "[--reference-sizes=N,...]\n",
                 argv[0]);
    return 2;
  }
  static const std::vector<Step> steps = ReadScript(data + "/script.txt");
  for (int size : sizes) {
    const std::string folder = data + "/size-" + std::to_string(size);
    const std::string n = std::to_string(size);
    benchmark::RegisterBenchmark(("turns/fast/" + n).c_str(), Turns, folder,
                                 steps, holvan::Lookup::kIndexed)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(3)
        ->Unit(benchmark::kMillisecond);
    if (std::find(reference_sizes.begin(), reference_sizes.end(), size) !=
        reference_sizes.end()) {
      benchmark::RegisterBenchmark(("turns/reference/" + n).c_str(), Turns,
                                   folder, steps, holvan::Lookup::kScan)
          ->UseManualTime()
          ->Iterations(1)
          ->Repetitions(1)
          ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark(("read/" + n).c_str(), Read, folder)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("load/" + n).c_str(), Load, folder,
                                 holvan::Lookup::kIndexed)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("load_without_indexes/" + n).c_str(), Load,
                                 folder, holvan::Lookup::kScan)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("write_sync/" + n).c_str(), WriteAndSync,
                                 folder, scratch)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("save/" + n).c_str(), Save, folder, scratch)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(5)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
