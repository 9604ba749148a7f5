#include "os/command_line.h"

#include <getopt.h>

#include <cstdio>
#include <utility>

#include "os/user_language.h"
#include "text/cp932.h"

namespace holvan {

CommandLineOutcome UsageError(std::string problem) {
  return {Asked::kUsageError, std::move(problem)};
}

CommandLineOutcome HelpOrVersion(int result) {
  return {result == 'h' ? Asked::kHelp : Asked::kVersion, ""};
}

std::optional<int> AnswerCommandLine(const CommandLineOutcome& outcome,
                                     const ProgramTexts& program) {
  const std::string name(program.name);
  switch (outcome.asked) {
    case Asked::kRun:
      return std::nullopt;
    case Asked::kHelp:
      std::fputs(program.help().c_str(), stdout);
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
  std::fputs((name + ": " + problem + "\n" + program.help()).c_str(), stderr);
  return kUsageErrorStatus;
}

void StartGetopt() {
  opterr = 0;
  optind = 0;
}

std::string OptionProblem(int result, std::string_view option) {
  return (result == ':' ? InUserLanguage("値が要ります: ", "missing value: ")
                        : InUserLanguage("知らないオプションです: ",
                                         "unknown option: ")) +
         std::string(option);
}

}  // namespace holvan
