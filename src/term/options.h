#pragma once

#include <string>

#include "os/command_line.h"
#include "system/system_platform.h"

namespace holvan::term {

/// The command line taken apart.
struct ParsedCommandLine {
  CommandLineOutcome outcome;
  /// --seed and --now.
  system::PlatformOverrides overrides;
};

/// Parses main's arguments. The first argument that is no option is refused,
/// as is the first wrong one.
ParsedCommandLine ParseCommandLine(int argc, char** argv);

/// The help text in the user's language, ending in a line break.
std::string UsageText();

}  // namespace holvan::term
