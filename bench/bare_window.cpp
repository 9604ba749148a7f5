// A bare Qt window of the main window's size: the yardstick for the main
// window's start-up. With the argument "text" it also shows a line of
// Japanese text, so that loading a Japanese font is counted as well. Prints
// the monotonic clock at its first frame and ends.

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

#include "first_frame.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Holvan"));
  window.setFixedSize(406, 221);
  if (argc > 1 && std::strcmp(argv[1], "text") == 0) {
    auto* label = new QLabel(
        QString::fromUtf8("どうも ユーザーさん 今日は令和6年5月1日"), &window);
    label->setGeometry(6, 8, 395, 20);
  }
  holvan::bench::FirstFrameProbe probe(&window);
  window.show();
  return QApplication::exec();
}
