// A bare Qt window of the main window's size: the yardstick for the main
// window's start-up. Prints the monotonic clock at its first frame and ends.

#include <QApplication>
#include <QWidget>

#include "first_frame.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Holvan"));
  window.setFixedSize(406, 221);
  holvan::bench::FirstFrameProbe probe(&window);
  window.show();
  return QApplication::exec();
}
