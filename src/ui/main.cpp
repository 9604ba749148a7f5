// holvan: the companion in its desktop window, working in the current folder.

#include <QApplication>

#include "os/process_start.h"
#include "qt/desktop_identity.h"
#include "qt/program_end.h"
#include "qt/qt_translation.h"
#include "qt/run_window.h"
#include "store/working_folder.h"
#include "system/system_platform.h"
#include "ui/main_window.h"
#include "ui/window_folder.h"

int main(int argc, char** argv) {
  holvan::PrepareProcess();
  QApplication application(argc, argv);
  holvan::SetDesktopIdentity();
  holvan::InstallQtJapanese();
  holvan::system::SystemPlatform platform;
  // Held until the program ends.
  const std::optional<holvan::FolderLock> folder =
      holvan::ClaimWindowFolder(platform.WorkingFolder());
  if (!folder) return holvan::EndProgram(holvan::kFolderBusyStatus);
  holvan::MainWindow window(platform);
  holvan::SaveAtProgramEnd(window);
  return holvan::EndProgram(holvan::RunWindow(window));
}
