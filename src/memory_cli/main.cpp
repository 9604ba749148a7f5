#include <cstdio>
#include <optional>

#include "errors/failure.h"
#include "memory_cli/command_line.h"
#include "memory_cli/commands.h"
#include "memory_cli/help_text.h"
#include "memory_cli/output.h"
#include "system/process_start.h"
#include "text/cp932.h"

using holvan::memory_cli::Command;

int main(int argc, char** argv) {
  holvan::system::PrepareProcess();
  const holvan::memory_cli::Request request =
      holvan::memory_cli::ParseCommandLine(argc, argv);
  switch (request.command) {
    case Command::kHelp:
      std::fputs(holvan::memory_cli::HelpText().c_str(), stdout);
      return holvan::memory_cli::kDone;
    case Command::kVersion:
      std::puts("holvan-memory " HOLVAN_VERSION);
      return holvan::memory_cli::kDone;
    case Command::kUsageError:
      holvan::memory_cli::Complain(holvan::Utf8ToNarrow(request.problem));
      std::fputs(holvan::memory_cli::HelpText().c_str(), stderr);
      return holvan::memory_cli::kUsage;
    default:
      break;
  }
  int status = holvan::memory_cli::kFailed;
  const std::optional<holvan::Error> failure = holvan::FailureOf(
      [&] { status = holvan::memory_cli::RunCommand(request); });
  if (!failure) return status;
  holvan::memory_cli::Complain(failure->message());
  return holvan::memory_cli::kFailed;
}
