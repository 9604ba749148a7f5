#include "os/command_line.h"

#include <getopt.h>

#include <cstdio>
#include <utility>

#include "os/standard_streams.h"
#include "os/user_language.h"
#include "text/cp932.h"

namespace holvan {

CommandLineOutcome UsageError(std::string problem) {
  return {Asked::kUsageError, std::move(problem), {}};
}

CommandLineOutcome HelpOrVersion(int result) {
  return {result == 'h' ? Asked::kHelp : Asked::kVersion, {}, {}};
}

std::optional<int> AnswerCommandLine(const CommandLineOutcome& outcome,
                                     const ProgramTexts& program) {
  CheckStandardStreamsAtExit(program.name);
  const std::string name(program.name);
  switch (outcome.asked) {
    case Asked::kRun:
      return std::nullopt;
    case Asked::kHelp:
      std::fputs((outcome.help.empty() ? program.help() : outcome.help).c_str(),
                 stdout);
      return 0;
    case Asked::kVersion: {
      const std::string about = program.about ? program.about() : "";
      std::fputs((name + " " HOLVAN_VERSION "\n" + about).c_str(), stdout);
      return 0;
    }
    case Asked::kUsageError:
      break;
  }
  const std::string problem =
      NarrowToTerminalUtf8(Utf8ToNarrow(outcome.problem));
  std::fputs(
      (name + ": " + problem + "\n" +
       InUserLanguage("詳しくは " + name + " --help",
                      "Try '" + name + " --help' for more information.") +
       "\n")
          .c_str(),
      stderr);
  return kUsageErrorStatus;
}

void StartGetopt() {
  opterr = 0;
  optind = 0;
}

CommandLineOutcome ParseHelpAndVersion(int argc, char** argv) {
  static const option kOptions[] = {
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersionOption},
      {nullptr, 0, nullptr, 0},
  };
  StartGetopt();
  const int c = getopt_long(argc, argv, ":h", kOptions, nullptr);
  if (c == 'h' || c == kVersionOption) return HelpOrVersion(c);
  if (c != -1) return UsageError(OptionProblem(c, argv[optind - 1]));
  if (optind < argc) {
    return UsageError(
        InUserLanguage("余分な引数です: ", "unexpected argument: ") +
        std::string(argv[optind]));
  }
  return {};
}

std::string OptionProblem(int result, std::string_view option) {
  return (result == ':' ? InUserLanguage("値が要ります: ", "missing value: ")
                        : InUserLanguage("知らないオプションです: ",
                                         "unknown option: ")) +
         std::string(option);
}

}  // namespace holvan
