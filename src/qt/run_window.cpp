#include "qt/run_window.h"

#include <QApplication>
#include <QTimer>

#include "qt/saving_window.h"

namespace holvan {

int RunWindow(SavingWindow& window) {
  // An exit asked for before the loop runs would be forgotten by it.
  QTimer::singleShot(0, &window, &SavingWindow::Start);
  return QApplication::exec();
}

}  // namespace holvan
