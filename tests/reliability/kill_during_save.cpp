// Kills holvan-term with SIGKILL at random moments of a run that ends in a
// large save, many times over. After every kill each data file must hold its
// complete old or complete new content, in the order the close writes them,
// and the next run removes whatever the kills left beside them.
//
// Usage: holvan_kill_during_save [kills] [seed]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "faults.h"
#include "support/temp_dir.h"
#include "support/waiting.h"
#include "term_driver.h"

namespace {

using namespace holvan::testing;
using Clock = std::chrono::steady_clock;

const std::vector<std::string> kFiles = {"holv.dat", "brain.dat", "res.dat"};

// Stores of a few megabytes each, so that the save takes a while.
std::map<std::string, std::string> OldFiles() {
  std::string holv = Sj("太郎\r\n41\r\n3\r\n0\r\n0\r\n0\r\n1\r\n");
  std::string brain = Sj("好き＝楽しい事\r\n嫌い＝いやな事\r\n");
  std::string res;
  for (int i = 0; i < 120000; ++i) {
    const std::string n = std::to_string(i);
    brain += Sj("言葉" + n + "＝これは覚えた意味のひとつ" + n + "\r\n");
    res += Sj("今日話したことの一行 " + n + "\r\n");
  }
  return {{"holv.dat", holv}, {"brain.dat", brain}, {"res.dat", res}};
}

const std::string kInput =
    "猫とは動物だ\n今日は雨\nはじめての一言\nおはよう\n/quit\n";

void Reset(const std::string& folder,
           const std::map<std::string, std::string>& files) {
  for (const auto& [name, bytes] : files) WriteFile(folder + "/" + name, bytes);
}

// Starts holvan-term on kInput in folder.
pid_t Start(const std::string& folder, const std::string& input_file) {
  const pid_t pid = fork();
  if (pid == 0) {
    const std::string term = HOLVAN_TERM_PATH;
    FILE* in = std::fopen(input_file.c_str(), "r");
    FILE* null = std::fopen("/dev/null", "w");
    if (in == nullptr || null == nullptr || chdir(folder.c_str()) != 0) {
      _exit(127);
    }
    dup2(fileno(in), 0);
    dup2(fileno(null), 1);
    dup2(fileno(null), 2);
    execl(term.c_str(), term.c_str(), "--seed", "1", "--now",
          "2026-12-05 15:07:09", static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

}  // namespace

int main(int argc, char** argv) {
  const int kills = argc > 1 ? std::atoi(argv[1]) : 1000;
  const unsigned seed =
      argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 20261205u;
  const std::map<std::string, std::string> old = OldFiles();

  TempDir work;
  WriteFile(work.File("input"), kInput);
  const std::string folder = work.File("data");
  std::filesystem::create_directory(folder);

  // A run that is not killed: the new contents and how long a run takes.
  Reset(folder, old);
  const auto begun = Clock::now();
  const pid_t whole = Start(folder, work.File("input"));
  const int whole_status = ExitStatus(WaitForChild(whole));
  const auto run_time = Clock::now() - begun;
  if (whole_status != 0) {
    std::printf("the reference run failed\n");
    return 1;
  }
  std::map<std::string, std::string> fresh;
  for (const std::string& name : kFiles) {
    fresh[name] = ReadFile(folder + "/" + name);
    if (fresh[name] == old.at(name)) {
      std::printf("the reference run did not change %s\n", name.c_str());
      return 1;
    }
  }
  const long long run_us =
      std::chrono::duration_cast<std::chrono::microseconds>(run_time).count();
  std::printf("one run takes %lld ms; killing %d times within %lld ms\n",
              run_us / 1000, kills, run_us * 11 / 10000);

  std::mt19937 random(seed);
  std::uniform_int_distribution<long long> delay(0, run_us * 11 / 10);
  std::map<std::string, int> outcomes;
  int torn = 0;
  int out_of_order = 0;
  std::set<std::string> leftovers;
  int checks = 0;
  for (int i = 0; i < kills; ++i) {
    Reset(folder, old);
    const pid_t pid = Start(folder, work.File("input"));
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);

    std::string state;
    for (const std::string& name : kFiles) {
      const std::string now = ReadFile(folder + "/" + name);
      ++checks;
      if (now == fresh[name]) {
        state += 'N';
      } else if (now == old.at(name)) {
        state += 'O';
      } else {
        state += '?';
        ++torn;
        std::printf("kill %d: %s is neither old nor new (%zu bytes)\n", i,
                    name.c_str(), now.size());
      }
    }
    // The close writes holv.dat, brain.dat, res.dat in turn.
    if (state != "OOO" && state != "NOO" && state != "NNO" && state != "NNN") {
      ++out_of_order;
    }
    ++outcomes[state];
    // Each run may remove what the kills before it left; the last run below
    // must remove the rest.
    for (const std::string& entry : FolderEntries(folder)) {
      if (entry != "holv.dat" && entry != "brain.dat" && entry != "res.dat") {
        leftovers.insert(entry);
      }
    }
  }

  // A run among what the kills left: it loads the old stores, saves them
  // and leaves nothing else.
  Reset(folder, old);
  const int left_before_last =
      static_cast<int>(FolderEntries(folder).size() - kFiles.size());
  const TermResult last = RunTermOnce(folder, kInput);
  bool last_ok =
      last.status == 0 && last.err.empty() &&
      FolderEntries(folder) ==
          std::vector<std::string>{"brain.dat", "holv.dat", "res.dat"};
  for (const std::string& name : kFiles) {
    last_ok = last_ok && ReadFile(folder + "/" + name) == fresh[name];
  }

  std::printf("file states after the kills (holv, brain, res; O old, N new):");
  for (const auto& [state, count] : outcomes) {
    std::printf(" %s=%d", state.c_str(), count);
  }
  std::printf(
      "\ntorn files: %d, out of order: %d, temporaries left: %d (%d at the "
      "end), run among them: %s\n",
      torn, out_of_order, static_cast<int>(leftovers.size()), left_before_last,
      last_ok ? "ok" : "FAILED");
  const bool ok = torn == 0 && out_of_order == 0 && last_ok;
  ReportCase(
      "kill during save",
      "SIGKILL at random moments of a run ending in a " +
          std::to_string(
              (old.at("brain.dat").size() + old.at("res.dat").size()) >> 20) +
          " MB save, " + std::to_string(kills) + " times",
      std::string(ok ? "ok" : "FAILED") +
          ": every file whole old or whole new (" +
          std::to_string(outcomes["OOO"]) + " before the save, " +
          std::to_string(outcomes["NOO"] + outcomes["NNO"]) + " part way, " +
          std::to_string(outcomes["NNN"]) + " after); " +
          std::to_string(leftovers.size()) +
          " temporaries left beside the files, never read, each removed by a "
          "later run",
      std::to_string(checks) +
          " file checks + a run among the leftovers that leaves none");
  return ok ? 0 : 1;
}
