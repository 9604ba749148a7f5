// holvan: the companion in its desktop window, working in the current folder.

#include <QApplication>

#include "os/process_start.h"
#include "store/working_folder.h"
#include "system/system_platform.h"
#include "ui/desktop_identity.h"
#include "ui/main_window.h"
#include "ui/qt_translation.h"
#include "ui/run_window.h"
#include "ui/session_end.h"
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
  if (!folder) return holvan::kFolderBusyStatus;
  holvan::MainWindow window(platform);
  holvan::SaveOnSessionEnd(window);
  return holvan::RunWindow(window);
}
