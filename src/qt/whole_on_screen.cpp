#include "qt/whole_on_screen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace holvan {
namespace {

int WholeAlong(int wanted, int length, int first, int room) {
  return std::clamp(wanted, first, std::max(first, first + room - length));
}

void MoveWhole(QWidget* window, QPoint wanted) {
  const QScreen* screen = QGuiApplication::screenAt(wanted);
  if (screen == nullptr) screen = window->screen();
  window->move(WholePosition(wanted, window->frameGeometry().size(),
                             screen->availableGeometry()));
}

// Places the window again once its frame is known: a window manager frames a
// window only after it is shown, so its size was left out at first.
class PlaceWhenFramed : public QObject {
 public:
  PlaceWhenFramed(QWidget* window, QPoint wanted)
      : QObject(window), window_(window), wanted_(wanted) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (watched == window_ &&
        (type == QEvent::Move || type == QEvent::Resize) &&
        window_->frameGeometry().size() != window_->size()) {
      window_->removeEventFilter(this);
      MoveWhole(window_, wanted_);
      deleteLater();
    }
    return false;
  }

 private:
  QWidget* window_;
  QPoint wanted_;
};

}  // namespace

QPoint WholePosition(QPoint wanted, QSize frame_size, const QRect& available) {
  return {WholeAlong(wanted.x(), frame_size.width(), available.x(),
                     available.width()),
          WholeAlong(wanted.y(), frame_size.height(), available.y(),
                     available.height())};
}

void PlaceWhole(QWidget* window, QPoint wanted) {
  MoveWhole(window, wanted);
  if (window->frameGeometry().size() == window->size()) {
    new PlaceWhenFramed(window, wanted);
  }
}

}  // namespace holvan
