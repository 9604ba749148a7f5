// holvan: the companion in its desktop window, working in the current folder.

#include <QApplication>

#include "qt/desktop_identity.h"
#include "qt/program_end.h"
#include "qt/qt_translation.h"
#include "qt/run_window.h"
#include "system/process_start.h"
#include "system/system_platform.h"
#include "system/working_folder.h"
#include "ui/main_window.h"
#include "ui/window_folder.h"

int main(int argc, char** argv) {
  holvan::system::PrepareProcess();
  QApplication application(argc, argv);
  holvan::SetDesktopIdentity();
  holvan::InstallQtJapanese();
  holvan::system::SystemPlatform platform;
  // Held until the program ends.
  const std::optional<holvan::system::FolderLock> folder =
      holvan::ClaimWindowFolder(platform.WorkingFolder());
  if (!folder) return holvan::system::kFolderBusyStatus;
  holvan::MainWindow window(platform);
  holvan::SaveAtProgramEnd(window);
  return holvan::RunWindow(window);
}
