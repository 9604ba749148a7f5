#include "term/options.h"

#include <getopt.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "dates/date_time.h"
#include "os/user_language.h"
#include "text/numbers.h"

namespace holvan::term {
namespace {

constexpr std::string_view kJapaneseHelp =
    R"(使い方: holvan-term [--seed N] [--now "YYYY-MM-DD HH:MM:SS"]
       holvan-term -h | --help | --version

端末で Holvan と話します。データファイルは現在のフォルダのもの（brain.dat、
dic.dat、res.dat、holv.dat、diary.dat）です。

  --seed N    乱数を時計からでなく N（0 から 4294967295）から始めます
  --now 日時  ローカルの時計を読むと日時 "YYYY-MM-DD HH:MM:SS" になります
  -h, --help  この説明を表示します
  --version   版を表示します

端末では: 1 行打って Enter を押すと話します。/version で版を表示します。
/quit、Ctrl-D、空の行での Ctrl-C で保存して終わります。
ファイルやパイプからの入力では: 1 行が 1 回の発言です。/tick は独り言の
タイマーの 1 回分、/quit で閉じます。入力の終わりでも閉じます。

終了ステータス: 0 保存して閉じた、1 最後の保存に失敗した、2 引数の誤り、
3 ほかのプログラム（Holvan、「記憶の整理」、holvan-memory）がこのフォルダを
使っている（標準エラーにそのプロセスを表示し、何も読み書きしません）。
)";

constexpr std::string_view kEnglishHelp =
    R"(Usage: holvan-term [--seed N] [--now "YYYY-MM-DD HH:MM:SS"]
       holvan-term -h | --help | --version

Talks with Holvan in a terminal, on the data files of the current
directory (brain.dat, dic.dat, res.dat, holv.dat, diary.dat).

  --seed N    start the random generator at N (0 to 4294967295)
              instead of the clock
  --now TIME  read TIME, "YYYY-MM-DD HH:MM:SS", from the local clock
  -h, --help  show this text
  --version   show the version

On a terminal: type a line and press Enter to talk. /version shows
the version; /quit, Ctrl-D or Ctrl-C on an empty line save and quit.
With input from a file or pipe: every line is one turn; /tick is
one tick of the idle-remark timer, /quit closes, and so does the
end of input.

Exit status: 0 after a saved close, 1 when the last save failed, 2
for a refused argument, 3 when another program (Holvan, the memory
editor, holvan-memory) holds this directory, which standard error
names with its process (nothing is then read or written).
)";

std::string SeedProblem() {
  return InUserLanguage("--seed には 0 から 4294967295 までの数が要ります",
                        "--seed needs a number from 0 to 4294967295");
}

std::string NowProblem() {
  return InUserLanguage("--now には正しい \"YYYY-MM-DD HH:MM:SS\" が要ります",
                        "--now needs a valid \"YYYY-MM-DD HH:MM:SS\"");
}

// The long options without a short form, by getopt_long's value for them.
enum LongOption : int { kSeedOption = kVersionOption + 1, kNowOption };

// The digits of text[at, at + count) as a number, or -1 when one is not a
// digit.
int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
  return ParseDigits<int>(text.substr(at, count)).value_or(-1);
}

// Whether the numbers (-1 for what was not digits) make a calendar date from
// year 1 on.
bool IsDate(int year, int month, int day) {
  return year >= 1 && month >= 0 && day >= 0 &&
         std::chrono::year_month_day(
             std::chrono::year(year),
             std::chrono::month(static_cast<unsigned>(month)),
             std::chrono::day(static_cast<unsigned>(day)))
             .ok();
}

// "YYYY-MM-DD HH:MM:SS" as a valid calendar moment (years 1 to 9999).
std::optional<Moment> ParseMoment(std::string_view text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' ||
      text[10] != ' ' || text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  Moment moment;
  moment.year = DigitsAt(text, 0, 4);
  moment.month = DigitsAt(text, 5, 2);
  moment.day = DigitsAt(text, 8, 2);
  moment.hour = DigitsAt(text, 11, 2);
  moment.minute = DigitsAt(text, 14, 2);
  moment.second = DigitsAt(text, 17, 2);
  moment.millisecond = 0;
  if (!IsDate(moment.year, moment.month, moment.day) || moment.hour < 0 ||
      moment.hour > 23 || moment.minute < 0 || moment.minute > 59 ||
      moment.second < 0 || moment.second > 59) {
    return std::nullopt;
  }
  return moment;
}

ParsedCommandLine Refuse(std::string problem) {
  return Only<ParsedCommandLine>(UsageError(std::move(problem)));
}

ParsedCommandLine RefuseArgument(std::string_view arg) {
  return Refuse(InUserLanguage("知らない引数です: " + std::string(arg),
                               "unknown argument '" + std::string(arg) + "'"));
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, char** argv) {
  static constexpr option kOptions[] = {
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersionOption},
      {"seed", required_argument, nullptr, kSeedOption},
      {"now", required_argument, nullptr, kNowOption},
      {nullptr, 0, nullptr, 0},
  };
  // The messages are this program's own; "+" stops at the first argument
  // that is no option, so that arguments are refused in their order.
  StartGetopt();
  ParsedCommandLine parsed;
  while (true) {
    // Where the option getopt_long is about to read stands.
    const int at = optind < 1 ? 1 : optind;
    const int found = getopt_long(argc, argv, "+:h", kOptions, nullptr);
    switch (found) {
      case -1:
        if (optind < argc) return RefuseArgument(argv[optind]);
        return parsed;
      case 'h':
      case kVersionOption:
        return Only<ParsedCommandLine>(HelpOrVersion(found));
      case kSeedOption:
        parsed.overrides.start_seed = ParseDigits<uint32_t>(optarg);
        if (!parsed.overrides.start_seed) return Refuse(SeedProblem());
        break;
      case kNowOption:
        parsed.overrides.now = ParseMoment(optarg);
        if (!parsed.overrides.now) return Refuse(NowProblem());
        break;
      case ':':
        return Refuse(optopt == kSeedOption ? SeedProblem() : NowProblem());
      default:
        return RefuseArgument(argv[at]);
    }
  }
}

std::string UsageText() { return InUserLanguage(kJapaneseHelp, kEnglishHelp); }

}  // namespace holvan::term
