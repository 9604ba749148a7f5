// holvan: the companion in its desktop window, working in the current folder.

#include <QApplication>
#include <optional>

#include "os/command_line.h"
#include "os/process_start.h"
#include "qt/desktop_identity.h"
#include "qt/program_end.h"
#include "qt/qt_translation.h"
#include "qt/run_window.h"
#include "qt/window_raising.h"
#include "store/working_folder.h"
#include "system/system_platform.h"
#include "ui/help_text.h"
#include "ui/main_window.h"
#include "ui/window_folder.h"

int main(int argc, char** argv) {
  holvan::PrepareProcess();
  // Answered before Qt starts, so that no display is needed.
  if (const std::optional<int> status =
          holvan::AnswerCommandLine(holvan::ParseHelpAndVersion(argc, argv),
                                    {"holvan", holvan::WindowHelpText})) {
    return *status;
  }
  // Qt sees only the program's name: it is set up through its environment.
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  QApplication application(qt_argc, qt_argv);
  holvan::SetDesktopIdentity();
  holvan::InstallQtJapanese();
  holvan::system::SystemPlatform platform;
  // A second start on the folder brings the running window to the front.
  const QString channel =
      holvan::RaisingChannel("holvan", platform.WorkingFolder());
  if (holvan::AskToRaise(channel)) return 0;
  // Held until the program ends.
  const std::optional<holvan::FolderLock> folder =
      holvan::ClaimWindowFolder(platform.WorkingFolder());
  if (!folder) return holvan::EndProgram(holvan::kFolderBusyStatus);
  holvan::MainWindow window(platform);
  holvan::RaiseOnRequest raising(&window, channel);
  holvan::SaveAtProgramEnd(window);
  return holvan::EndProgram(holvan::RunWindow(window));
}
