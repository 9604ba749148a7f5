#pragma once

#include <string>

#include "system/system_platform.h"

namespace holvan::term {

/// What the program does with its command line.
enum class Command { kRun, kHelp, kVersion, kUsageError };

/// The command line taken apart.
struct ParsedCommandLine {
  Command command = Command::kRun;
  /// --seed and --now.
  system::PlatformOverrides overrides;
  /// Why the command line was refused (kUsageError only).
  std::string problem;
};

/// Parses main's arguments. The first argument that is no option is refused,
/// as is the first wrong one.
ParsedCommandLine ParseCommandLine(int argc, char** argv);

/// The help text, ending in a line break.
std::string UsageText();

}  // namespace holvan::term
