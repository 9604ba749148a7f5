// One process, a million scripted turns and ticks: memory grows only with
// what the stores and the Transcript hold, and a turn does not get slower
// beyond what the stores' growth explains.
//
// Usage: holvan_soak [events] [seed]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "conversation/companion.h"
#include "errors/error.h"
#include "faults.h"
#include "support/companion_in_folder.h"

namespace {

using namespace holvan;
using namespace holvan::testing;
using Clock = std::chrono::steady_clock;

// Resident memory in bytes.
long long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long long pages = 0;
  long long resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// Bytes the stores and the Transcript hold, with a fixed charge per entry
// for its bookkeeping.
long long HeldBytes(const Companion& companion) {
  constexpr long long kPerEntry = 96;
  const Stores& stores = companion.stores();
  long long held = static_cast<long long>(companion.transcript().Text().size());
  for (int32_t i = 0; i < stores.brain.Count(); ++i) {
    held += static_cast<long long>(stores.brain.Key(i).size() +
                                   stores.brain.Value(i).size()) +
            2 * kPerEntry;
  }
  for (int32_t i = 0; i < stores.dictionary.Count(); ++i) {
    held += static_cast<long long>(stores.dictionary.Key(i).size() +
                                   stores.dictionary.Value(i).size()) +
            2 * kPerEntry;
  }
  for (int32_t i = 0; i < stores.phrase_log.Count(); ++i) {
    held += static_cast<long long>(stores.phrase_log.Get(i).size()) + kPerEntry;
  }
  return held;
}

// The test view without its record of appended lines, which would grow with
// every turn.
class SoakView : public FakeView {
 public:
  void TranscriptAppended(std::string_view, std::size_t) override {}
};

const std::vector<std::string> kLines = {"こんにちは",
                                         "おはよう",
                                         "こんばんは",
                                         "元気？",
                                         "東京は？",
                                         "大阪は？",
                                         "猫って何？",
                                         "今日は晴れ",
                                         "今日は雨",
                                         "楽しいね",
                                         "ありがとう",
                                         "ごめん",
                                         "ふふふ",
                                         "あはは",
                                         "助けて",
                                         "名前",
                                         "性別",
                                         "おみくじ",
                                         "独り言禁止",
                                         "独り言許可",
                                         "命令",
                                         "1",
                                         "2",
                                         "3",
                                         "質問",
                                         "男性",
                                         "女性",
                                         "いいよ",
                                         "だめ",
                                         "そうだね",
                                         "明日は何をしようかな",
                                         "猫が好き",
                                         "犬が好き",
                                         "",
                                         "?",
                                         "？",
                                         "command",
                                         "4",
                                         "calc.exe"};

}  // namespace

int main(int argc, char** argv) {
  const long events = argc > 1 ? std::atol(argv[1]) : 1000000;
  const unsigned seed =
      argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 20261205u;
  CompanionInFolder<SoakView> home;
  home.dir.WriteSj("holv.dat", "太郎\r\n5\r\n3\r\n0\r\n0\r\n0\r\n0\r\n");
  home.dir.WriteSj("brain.dat",
                   "好き＝楽しい事\r\n嫌い＝いやな事\r\n猫＝動物\r\n");
  home.dir.WriteSj("dic.dat", "東京*日本の首都\r\n犬*動物\r\n");
  home.dir.WriteBytes("res.dat", "");
  home.platform.seed = seed;
  const Companion& companion = home.companion;
  home.companion.Start();

  std::mt19937 random(seed);
  std::vector<NarrowText> lines;
  for (const std::string& line : kLines) lines.push_back(Sj(line));
  long errors = 0;
  long closes = 0;
  long fresh = 0;

  const long block = events / 10 > 0 ? events / 10 : 1;
  const long long start_rss = ResidentBytes();
  const long long start_held = HeldBytes(companion);
  std::vector<double> block_seconds;
  std::vector<long long> block_rss;
  std::vector<long long> block_held;
  auto block_start = Clock::now();
  std::clock_t block_cpu = std::clock();
  std::vector<double> block_cpu_seconds;
  for (long event = 1; event <= events; ++event) {
    const unsigned roll = random() % 1000;
    bool closed = false;
    try {
      if (roll < 200) {
        if (home.view.idle_enabled) home.companion.IdleTick();
      } else {
        NarrowText line;
        if (roll < 230) {
          line = Sj("番号" + std::to_string(++fresh) + "の話をしよう");
        } else if (roll < 240) {
          const std::string n = std::to_string(++fresh);
          line = Sj("もの" + n + "とは新しいこと" + n + "だ");
        } else if (roll == 241 && event % 50 == 0) {
          line = Sj("日記");
        } else if (roll == 242 && companion.state().mode != Mode::kDiary) {
          // Three insults in a row; the turn below is the fourth, which
          // closes (and saves).
          for (int i = 0; i < 3; ++i) {
            closed = home.TypeAndPress(Sj("ばか")) || closed;
          }
          line = Sj("ばか");
        } else if (companion.state().mode == Mode::kDiary && roll < 300) {
          line = Sj(roll < 260 ? "セーブ" : roll < 280 ? "削除" : "止める");
        } else {
          line = lines[random() % lines.size()];
        }
        closed = home.TypeAndPress(line) || closed;
      }
    } catch (const Error&) {
      ++errors;
    }
    // The fourth insult closes; the soak goes on with the same memory.
    if (closed) ++closes;
    if (event % block == 0) {
      const auto now = Clock::now();
      block_seconds.push_back(
          std::chrono::duration<double>(now - block_start).count());
      const std::clock_t cpu = std::clock();
      block_cpu_seconds.push_back(static_cast<double>(cpu - block_cpu) /
                                  CLOCKS_PER_SEC);
      block_cpu = cpu;
      block_rss.push_back(ResidentBytes());
      block_held.push_back(HeldBytes(companion));
      std::printf(
          "%8ld events: %6.2f s for the last %ld, resident %5lld MB, "
          "held %5lld MB, brain %d, phrases %d\n",
          event, block_seconds.back(), block, block_rss.back() >> 20,
          block_held.back() >> 20, companion.stores().brain.Count(),
          companion.stores().phrase_log.Count());
      std::fflush(stdout);
      block_start = Clock::now();
    }
  }

  // Memory: what the process gained is what the stores and the Transcript
  // gained at their largest (a cleared Transcript keeps its buffer), give or
  // take the allocator's slack.
  const long long gained = block_rss.back() - start_rss;
  const long long held =
      *std::max_element(block_held.begin(), block_held.end()) - start_held;
  const bool memory_ok = gained <= 2 * held + (64LL << 20);
  // Time: the last block within three times the first, in CPU time (the
  // wall clock also counts waiting for the disk on each save).
  const double first = block_cpu_seconds.front();
  const double last = block_cpu_seconds.back();
  const bool time_ok = last <= 3 * first + 0.1;
  std::printf(
      "resident gained %lld MB for %lld MB held: %s; first block "
      "%.2f s, last %.2f s: %s; %ld closes, %ld errors\n",
      gained >> 20, held >> 20, memory_ok ? "ok" : "FAILED", first, last,
      time_ok ? "ok" : "FAILED", closes, errors);
  char time_text[64];
  std::snprintf(time_text, sizeof time_text, "%.2f s then %.2f s CPU", first,
                last);
  ReportCase("soak", std::to_string(events) + " turns and ticks in one process",
             std::string(memory_ok && time_ok ? "ok" : "FAILED") +
                 ": resident +" + std::to_string(gained >> 20) + " MB for +" +
                 std::to_string(held >> 20) + " MB held; first/last " +
                 std::to_string(block) + " events " + time_text,
             std::to_string(companion.stores().brain.Count()) +
                 " brain pairs, " +
                 std::to_string(companion.stores().phrase_log.Count()) +
                 " phrases, " + std::to_string(closes) + " saves");
  return memory_ok && time_ok ? 0 : 1;
}
