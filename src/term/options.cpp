#include "term/options.h"

#include <chrono>

namespace holvan::term {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of text[at, at + count) as a number, or -1 when one is not a
// digit.
int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (!IsDigit(text[i])) return -1;
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

// "--name=value" or "--name value"; advances i past what it took.
std::optional<std::string_view> OptionValue(
    std::span<const std::string_view> args, std::size_t& i,
    std::string_view name) {
  const std::string_view arg = args[i];
  if (arg == name) {
    if (i + 1 >= args.size()) return std::nullopt;
    return args[++i];
  }
  return arg.substr(name.size() + 1);
}

bool IsOption(std::string_view arg, std::string_view name) {
  return arg == name || (arg.size() > name.size() && arg.starts_with(name) &&
                         arg[name.size()] == '=');
}

ParsedCommandLine Refuse(std::string problem) {
  ParsedCommandLine parsed;
  parsed.command = Command::kUsageError;
  parsed.problem = std::move(problem);
  return parsed;
}

}  // namespace

std::optional<uint32_t> ParseSeed(std::string_view text) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

std::optional<Moment> ParseMoment(std::string_view text) {
  // YYYY-MM-DD HH:MM:SS
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

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args) {
  ParsedCommandLine parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help") {
      parsed.command = Command::kHelp;
      return parsed;
    }
    if (arg == "--version") {
      parsed.command = Command::kVersion;
      return parsed;
    }
    if (IsOption(arg, "--seed")) {
      const auto value = OptionValue(args, i, "--seed");
      const auto seed = value ? ParseSeed(*value) : std::nullopt;
      if (!seed) return Refuse("--seed needs a number from 0 to 4294967295");
      parsed.overrides.start_seed = seed;
    } else if (IsOption(arg, "--now")) {
      const auto value = OptionValue(args, i, "--now");
      const auto now = value ? ParseMoment(*value) : std::nullopt;
      if (!now) {
        return Refuse("--now needs a valid \"YYYY-MM-DD HH:MM:SS\"");
      }
      parsed.overrides.now = now;
    } else {
      return Refuse("unknown argument '" + std::string(arg) + "'");
    }
  }
  return parsed;
}

std::string UsageText() {
  return "Usage: holvan-term [--seed N] [--now \"YYYY-MM-DD HH:MM:SS\"]\n"
         "       holvan-term --help | --version\n"
         "\n"
         "Talks with Holvan in a terminal, on the data files of the current\n"
         "directory (brain.dat, dic.dat, res.dat, holv.dat, diary.dat).\n"
         "\n"
         "  --seed N    start the random generator at N (0 to 4294967295)\n"
         "              instead of the clock\n"
         "  --now TIME  read TIME, \"YYYY-MM-DD HH:MM:SS\", from the local "
         "clock\n"
         "  --help      show this text\n"
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
         "for a refused argument, 3 when another Holvan already works in this\n"
         "directory (nothing is then read or written).\n";
}

std::string VersionLine() { return "Holvan Ver1.0"; }

}  // namespace holvan::term
