#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "system/lock_messages.h"
#include "system/process_start.h"
#include "system/signal_bridge.h"
#include "system/system_platform.h"
#include "system/working_folder.h"
#include "term/batch_mode.h"
#include "term/interactive_mode.h"
#include "term/options.h"
#include "term/version_text.h"
#include "text/cp932.h"

using holvan::term::Command;

int main(int argc, char** argv) {
  holvan::system::PrepareProcess();
  const holvan::term::ParsedCommandLine parsed =
      holvan::term::ParseCommandLine(argc, argv);
  switch (parsed.command) {
    case Command::kHelp:
      std::fputs(holvan::term::UsageText().c_str(), stdout);
      return 0;
    case Command::kVersion:
      std::fputs(holvan::term::ReleaseVersionText().c_str(), stdout);
      return 0;
    case Command::kUsageError:
      std::fprintf(stderr, "holvan-term: %s\n%s", parsed.problem.c_str(),
                   holvan::term::UsageText().c_str());
      return 2;
    case Command::kRun:
      break;
  }
  holvan::system::SystemPlatform platform(parsed.overrides);
  const holvan::NarrowText working = platform.WorkingFolder();
  // Held until the program ends.
  const holvan::system::FolderLock folder =
      holvan::system::ClaimWorkingFolder(working);
  if (folder.busy()) {
    std::fprintf(stderr, "%s\n",
                 holvan::NarrowToTerminalUtf8(
                     holvan::system::FolderBusyMessage(folder.holder()))
                     .c_str());
    return holvan::system::kFolderBusyStatus;
  }
  if (!folder.held()) {
    std::fprintf(stderr, "%s\n",
                 holvan::NarrowToTerminalUtf8(
                     holvan::system::UnlockedStartMessage(working, folder))
                     .c_str());
  }
  const bool interactive = isatty(STDIN_FILENO) == 1;
  holvan::system::SignalBridge signals =
      interactive ? holvan::system::SignalBridge(
                        {SIGINT, SIGTERM, SIGHUP, SIGTSTP, SIGWINCH})
                  : holvan::system::SignalBridge({SIGINT, SIGTERM, SIGHUP});
  if (signals.fd() < 0) {
    std::perror("holvan-term: pipe");
    return 1;
  }
  return interactive ? holvan::term::RunInteractive(platform, signals)
                     : holvan::term::RunBatch(platform, signals);
}
