#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

namespace holvan::testing {

/// What one run of holvan-term left behind.
struct TermRun {
  int status = -1;
  std::string out;
  std::string err;
};

/// Runs holvan-term in dir with args, input as its whole stdin, and waits for
/// it to end.
TermRun RunTerm(const TempDir& dir, std::string_view input,
                const std::vector<std::string>& args);

/// The fixed clock of the scripted runs: Saturday 5 December 2026, 15:07:09.
inline constexpr std::string_view kNow = "2026-12-05 15:07:09";
/// --seed seed --now kNow.
std::vector<std::string> SeedAndNow(uint32_t seed);

/// The greeting of 太郎 at kNow, as printed.
inline const std::string kGreeting =
    "どうも 太郎さん 今日は令和8年12月5日(土曜日)\n"
    "時刻は午後3時07分09秒です\n";
/// The closing box's text, as printed.
inline const std::string kClosing = "終了します　　\n";

/// holv.dat for 太郎 with the given visit count, Mood and AngryExitCount.
std::string Profile(int visits, int mood, int angry_exits);

/// The program's random generator, restated so that a test can tell which
/// replies a seed gives.
class Draws {
 public:
  explicit Draws(uint32_t seed) : seed_(seed) {}
  int Below(int n) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<int>((static_cast<uint64_t>(n) * seed_) >> 32);
  }

 private:
  uint32_t seed_;
};

/// The first seed whose draws, with these bounds in this order, give these
/// results: SeedFor({{10, 8}, {3, 1}}).
uint32_t SeedFor(std::initializer_list<std::pair<int, int>> bound_and_result);

}  // namespace holvan::testing
