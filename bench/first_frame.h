#pragma once

#include <time.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace holvan::bench {

/// Prints the monotonic clock in nanoseconds and ends the program: the parent
/// that started the program takes the difference from its own reading.
inline void PrintClockAndExit() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("%lld\n",
              static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stdout);
  QCoreApplication::exit(0);
}

/// Watches a window and, once its first frame is painted, prints the
/// monotonic clock and ends the program.
class FirstFrameProbe : public QObject {
 public:
  explicit FirstFrameProbe(QWidget* window) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      // Runs once the paint has finished and the frame has been flushed.
      QTimer::singleShot(0, PrintClockAndExit);
    }
    return false;
  }

 private:
  bool painted_ = false;
};

}  // namespace holvan::bench
