#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "dates/date_time.h"
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

/// Parses the arguments after the program name.
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args);

/// "N" as a decimal number from 0 to 4294967295, digits only.
std::optional<uint32_t> ParseSeed(std::string_view text);

/// "YYYY-MM-DD HH:MM:SS" as a valid calendar moment (years 1 to 9999).
std::optional<Moment> ParseMoment(std::string_view text);

/// The help text, ending in a line break.
std::string UsageText();

/// "Holvan Ver1.0".
std::string VersionLine();

}  // namespace holvan::term
