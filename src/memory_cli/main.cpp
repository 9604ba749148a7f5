#include <optional>
#include <string>

#include "errors/failure.h"
#include "memory_cli/command_line.h"
#include "memory_cli/commands.h"
#include "memory_cli/help_text.h"
#include "memory_cli/output.h"
#include "os/command_line.h"
#include "os/process_start.h"
#include "os/system_reason.h"
#include "text/cp932.h"

int main(int argc, char** argv) {
  holvan::PrepareProcess();
  const holvan::memory_cli::Request request =
      holvan::memory_cli::ParseCommandLine(argc, argv);
  if (const std::optional<int> status = holvan::AnswerCommandLine(
          request.outcome, {"holvan-memory", holvan::memory_cli::HelpText})) {
    return *status;
  }
  int status = holvan::memory_cli::kFailed;
  const std::optional<holvan::Error> failure = holvan::FailureOf(
      [&] { status = holvan::memory_cli::RunCommand(request); });
  if (!failure) return status;
  std::string said = holvan::NarrowToTerminalUtf8(failure->message());
  if (failure->system_error() != 0) {
    said += ": " + holvan::SystemReason(failure->system_error());
  }
  holvan::memory_cli::Notify(said);
  return holvan::memory_cli::kFailed;
}
