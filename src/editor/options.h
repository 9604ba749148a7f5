#pragma once

#include <optional>
#include <string>

namespace holvan::editor {

/// What the program does with its command line.
enum class Command { kRun, kHelp, kVersion, kUsageError };

/// The command line taken apart.
struct Options {
  Command command = Command::kRun;
  /// --dir: the memory folder (the system's bytes).
  std::optional<std::string> dir;
  /// Why the command line was refused (kUsageError only), UTF-8.
  std::string problem;
};

/// Parses main's arguments with getopt_long. Qt's own options are not taken:
/// the window is set up through Qt's environment variables.
Options ParseCommandLine(int argc, char** argv);

/// The text of --help in the user's language, ending in a line break.
std::string HelpText();

}  // namespace holvan::editor
