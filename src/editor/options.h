#pragma once

#include <optional>
#include <string>

#include "os/command_line.h"

namespace holvan::editor {

/// The command line taken apart.
struct Options {
  CommandLineOutcome outcome;
  /// --dir: the memory folder (the system's bytes).
  std::optional<std::string> dir;
};

/// Parses main's arguments with getopt_long. Qt's own options are not taken:
/// the window is set up through Qt's environment variables.
Options ParseCommandLine(int argc, char** argv);

/// The text of --help in the user's language, ending in a line break.
std::string HelpText();

}  // namespace holvan::editor
