#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "memory/memory_files.h"
#include "os/command_line.h"

namespace holvan::memory_cli {

/// What holvan-memory is asked to do.
enum class Command {
  kList,
  kAddFact,
  kAddDefinition,
  kChangeFact,
  kRemoveFact,
  kRemoveDefinition,
  kRemovePhrase,
  kRename,
  kImport,
  kExport,
  kCheck,
  kBackup,
  kBackups,
  kRestore,
};

/// The command line taken apart.
struct Request {
  /// Help, version or a usage error instead of a command.
  CommandLineOutcome outcome;
  Command command = Command::kList;
  /// The words after the command's own (KEY TEXT, FILE, NAME...), UTF-8.
  std::vector<std::string> arguments;
  /// The file that list shows.
  memory::MemoryFile listed = memory::MemoryFile::kDictionary;
  std::optional<std::string> dir;
  std::optional<std::string> backups;
  std::optional<std::string> grep;
  std::optional<int32_t> line;
  bool all = false;
  bool daily = false;
  /// remove phrase: the backups keep the phrase.
  bool keep_in_backups = false;
  /// restore: the files asked for that the backup lacks are removed.
  bool exact = false;
};

/// Parses argv (getopt_long: options may stand anywhere, "--" ends them).
Request ParseCommandLine(int argc, char** argv);

}  // namespace holvan::memory_cli
