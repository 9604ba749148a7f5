#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/seeds.h"
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

/// holv.dat for 太郎 with the given visit count, mood and angry exit count.
std::string Profile(int visits, int mood, int angry_exits);

}  // namespace holvan::testing
