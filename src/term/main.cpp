#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "system/process_start.h"
#include "system/system_platform.h"
#include "system/working_folder.h"
#include "term/batch_mode.h"
#include "term/interactive_mode.h"
#include "term/options.h"
#include "term/signal_pipe.h"
#include "text/cp932.h"

using holvan::term::Command;

int main(int argc, char** argv) {
  holvan::system::PrepareProcess();
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0),
                                           argv + argc);
  const holvan::term::ParsedCommandLine parsed =
      holvan::term::ParseCommandLine(args);
  switch (parsed.command) {
    case Command::kHelp:
      std::fputs(holvan::term::UsageText().c_str(), stdout);
      return 0;
    case Command::kVersion:
      std::puts(holvan::term::VersionLine().c_str());
      return 0;
    case Command::kUsageError:
      std::fprintf(stderr, "holvan-term: %s\n%s", parsed.problem.c_str(),
                   holvan::term::UsageText().c_str());
      return 2;
    case Command::kRun:
      break;
  }
  holvan::system::SystemPlatform platform(parsed.overrides);
  // Held until the program ends.
  const holvan::system::FolderLock folder =
      holvan::system::ClaimWorkingFolder(platform.WorkingFolder());
  if (folder.busy()) {
    std::fprintf(
        stderr, "%s\n",
        holvan::NarrowToUtf8(holvan::system::FolderBusyMessage()).c_str());
    return holvan::system::kFolderBusyStatus;
  }
  if (isatty(STDIN_FILENO) == 1) {
    holvan::term::SignalPipe signals(
        {SIGINT, SIGTERM, SIGHUP, SIGTSTP, SIGWINCH});
    return holvan::term::RunInteractive(platform, signals);
  }
  holvan::term::SignalPipe signals({SIGINT, SIGTERM, SIGHUP});
  return holvan::term::RunBatch(platform, signals);
}
