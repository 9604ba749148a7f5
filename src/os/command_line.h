#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace holvan {

// What the three programs with options (holvan-term, holvan-memory and
// holvan-memory-editor) share of their command lines. Each parses its own
// options with getopt_long and says what is wrong in the user's language.

/// What a command line asks of a program besides its own work.
enum class Asked { kRun, kHelp, kVersion, kUsageError };

/// The part of a parsed command line that every program has.
struct CommandLineOutcome {
  Asked asked = Asked::kRun;
  /// Why the command line was refused (kUsageError only), UTF-8.
  std::string problem;
  /// kHelp: the help to show instead of the program's whole help (a
  /// command's own), UTF-8; empty for the whole help.
  std::string help;
};

/// A refusal of the command line for problem.
CommandLineOutcome UsageError(std::string problem);

/// getopt_long's value for --version in every program (-h for --help); a
/// program's other long options without a short form come after it.
inline constexpr int kVersionOption = 256;

/// What getopt_long's result 'h' or kVersionOption asks for.
CommandLineOutcome HelpOrVersion(int result);

/// A program's parsed command line (a Parsed with a CommandLineOutcome named
/// outcome) that holds outcome alone.
template <typename Parsed>
Parsed Only(CommandLineOutcome outcome) {
  Parsed parsed;
  parsed.outcome = std::move(outcome);
  return parsed;
}

/// What a program tells of itself on its command line.
struct ProgramTexts {
  /// Its name, which starts --version's first line and a usage error's.
  std::string_view name;
  /// --help's text in the user's language, ending in a line break.
  std::string (*help)();
  /// What --version shows after its first line, if anything.
  std::string (*about)() = nullptr;
};

/// The exit status of a refused command line.
inline constexpr int kUsageErrorStatus = 2;

/// Does what outcome asks besides the program's own work: the help, or the
/// name and release ("holvan-memory 1.1.0") then about, on standard output,
/// status 0; for a usage error, "NAME: problem" (its control characters made
/// harmless) and a line saying where to read more ("Try 'NAME --help'") on
/// standard error, kUsageErrorStatus. Nothing when the program is to run.
/// Whatever it answers, the program's end checks standard output and error
/// (CheckStandardStreamsAtExit).
std::optional<int> AnswerCommandLine(const CommandLineOutcome& outcome,
                                     const ProgramTexts& program);

/// The command line of a program without options of its own: -h, --help and
/// --version; anything else is refused.
CommandLineOutcome ParseHelpAndVersion(int argc, char** argv);

/// Makes getopt_long read main's arguments from the first again, without its
/// own messages (English only).
void StartGetopt();

/// What getopt_long's result (':' for a missing value, else an unknown
/// option) tells of option, in the user's language.
std::string OptionProblem(int result, std::string_view option);

}  // namespace holvan
