#include "ui/run_window.h"

#include <QApplication>
#include <QTimer>

#include "ui/main_window.h"

namespace holvan {

int RunWindow(MainWindow& window) {
  // An exit asked for before the loop runs would be forgotten by it.
  QTimer::singleShot(0, &window, &MainWindow::Start);
  return QApplication::exec();
}

}  // namespace holvan
