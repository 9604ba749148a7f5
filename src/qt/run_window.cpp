#include "qt/run_window.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "qt/saving_window.h"

namespace holvan {

int RunWindow(SavingWindow& window) {
  // An exit asked for before the loop runs would be forgotten by it.
  QTimer::singleShot(0, &window, &SavingWindow::Start);
  return QApplication::exec();
}

int EndProgram(int status) {
  // Qt 6.4's Wayland platform at times hangs for good while it disconnects,
  // and the process would keep the memory folder locked. Nothing is left to
  // do but what the end of the process does anyway.
  if (QGuiApplication::platformName() == QLatin1String("wayland")) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
  return status;
}

}  // namespace holvan
