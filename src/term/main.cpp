#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <optional>

#include "os/command_line.h"
#include "os/lock_messages.h"
#include "os/process_start.h"
#include "os/signal_bridge.h"
#include "store/working_folder.h"
#include "system/system_platform.h"
#include "term/batch_mode.h"
#include "term/interactive_mode.h"
#include "term/options.h"
#include "term/version_text.h"
#include "text/cp932.h"

int main(int argc, char** argv) {
  holvan::PrepareProcess();
  const holvan::term::ParsedCommandLine parsed =
      holvan::term::ParseCommandLine(argc, argv);
  if (const std::optional<int> status = holvan::AnswerCommandLine(
          parsed.outcome,
          {"holvan-term", holvan::term::UsageText, holvan::term::AboutText})) {
    return *status;
  }
  holvan::system::SystemPlatform platform(parsed.overrides);
  const holvan::NarrowText working = platform.WorkingFolder();
  // Held until the program ends.
  const holvan::FolderLock folder = holvan::ClaimWorkingFolder(working);
  if (folder.busy()) {
    std::fprintf(
        stderr, "%s\n",
        holvan::NarrowToTerminalUtf8(holvan::FolderBusyMessage(folder.holder()))
            .c_str());
    return holvan::kFolderBusyStatus;
  }
  if (!folder.held()) {
    std::fprintf(stderr, "%s\n",
                 holvan::NarrowToTerminalUtf8(
                     holvan::UnlockedStartMessage(working, folder))
                     .c_str());
  }
  const bool interactive = isatty(STDIN_FILENO) == 1;
  holvan::SignalBridge signals =
      interactive
          ? holvan::SignalBridge({SIGINT, SIGTERM, SIGHUP, SIGTSTP, SIGWINCH})
          : holvan::SignalBridge({SIGINT, SIGTERM, SIGHUP});
  if (signals.fd() < 0) {
    std::perror("holvan-term: pipe");
    return 1;
  }
  return interactive ? holvan::term::RunInteractive(platform, signals)
                     : holvan::term::RunBatch(platform, signals);
}
