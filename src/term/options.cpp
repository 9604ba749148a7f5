#include "term/options.h"

#include <getopt.h>

#include <charconv>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "dates/date_time.h"

namespace holvan::term {
namespace {

constexpr const char* kSeedProblem =
    "--seed needs a number from 0 to 4294967295";
constexpr const char* kNowProblem =
    "--now needs a valid \"YYYY-MM-DD HH:MM:SS\"";

// The long options without a short form, by getopt_long's value for them.
enum LongOption : int { kVersionOption = 256, kSeedOption, kNowOption };

// The digits of text[at, at + count) as a number, or -1 when one is not a
// digit.
int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
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

// "N" as a decimal number from 0 to 4294967295, digits only: no sign, no
// space.
std::optional<uint32_t> ParseSeed(std::string_view text) {
  uint32_t value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
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
  ParsedCommandLine parsed;
  parsed.command = Command::kUsageError;
  parsed.problem = std::move(problem);
  return parsed;
}

ParsedCommandLine RefuseArgument(std::string_view arg) {
  return Refuse("unknown argument '" + std::string(arg) + "'");
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
  opterr = 0;
  optind = 0;
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
        parsed.command = Command::kHelp;
        return parsed;
      case kVersionOption:
        parsed.command = Command::kVersion;
        return parsed;
      case kSeedOption:
        parsed.overrides.start_seed = ParseSeed(optarg);
        if (!parsed.overrides.start_seed) return Refuse(kSeedProblem);
        break;
      case kNowOption:
        parsed.overrides.now = ParseMoment(optarg);
        if (!parsed.overrides.now) return Refuse(kNowProblem);
        break;
      case ':':
        return Refuse(optopt == kSeedOption ? kSeedProblem : kNowProblem);
      default:
        return RefuseArgument(argv[at]);
    }
  }
}

std::string UsageText() {
  return "Usage: holvan-term [--seed N] [--now \"YYYY-MM-DD HH:MM:SS\"]\n"
         "       holvan-term -h | --help | --version\n"
         "\n"
         "Talks with Holvan in a terminal, on the data files of the current\n"
         "directory (brain.dat, dic.dat, res.dat, holv.dat, diary.dat).\n"
         "\n"
         "  --seed N    start the random generator at N (0 to 4294967295)\n"
         "              instead of the clock\n"
         "  --now TIME  read TIME, \"YYYY-MM-DD HH:MM:SS\", from the local "
         "clock\n"
         "  -h, --help  show this text\n"
         "  --version   show the version\n"
         "\n"
         "On a terminal: type a line and press Enter to talk. /version shows\n"
         "the version; /quit, Ctrl-D or Ctrl-C on an empty line save and "
         "quit.\n"
         "With input from a file or pipe: every line is one turn; /tick is\n"
         "one tick of the idle-remark timer, /quit closes, and so does the\n"
         "end of input.\n"
         "\n"
         "Exit status: 0 after a saved close, 1 when the last save failed, 2\n"
         "for a refused argument, 3 when another program (Holvan, the memory\n"
         "editor, holvan-memory) holds this directory, which standard error\n"
         "names with its process (nothing is then read or written).\n";
}

}  // namespace holvan::term
