#include "qt/focus_ring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

#include "qt/colours.h"

namespace holvan {
namespace {

// Pixels of ring, and of the gap between it and the control.
constexpr int kWidth = 2;
constexpr int kGap = 1;

}  // namespace

FocusRing::FocusRing(QWidget* window) : QWidget(window) {
  setObjectName(QStringLiteral("focus_ring"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  hide();
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* now) { Follow(now); });
}

QColor FocusRing::ColourOn(const QColor& background) {
  for (const QColor& colour :
       {QColor(0xFF, 0xD7, 0x00), QColor(0x00, 0x33, 0xCC)}) {
    if (ContrastRatio(colour, background) >= 3) return colour;
  }
  // On a mid grey neither stands out enough; black or white does.
  const QColor black(Qt::black);
  const QColor white(Qt::white);
  return ContrastRatio(black, background) >= ContrastRatio(white, background)
             ? black
             : white;
}

void FocusRing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(ColourOn(parentWidget()->palette().color(
                          parentWidget()->backgroundRole())),
                      kWidth));
  painter.drawRect(
      rect().adjusted(kWidth / 2, kWidth / 2, -kWidth / 2, -kWidth / 2));
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  if (watched == target_) {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
        Place();
        break;
      default:
        break;
    }
  }
  return false;
}

void FocusRing::Follow(QWidget* focused) {
  if (target_) target_->removeEventFilter(this);
  target_ = focused != nullptr && focused != parentWidget() &&
                    focused->window() == parentWidget()
                ? focused
                : nullptr;
  if (target_) target_->installEventFilter(this);
  Place();
}

void FocusRing::Place() {
  if (!target_ || !target_->isVisible()) {
    hide();
    return;
  }
  const int margin = kWidth + kGap;
  setGeometry(
      QRect(target_->mapTo(parentWidget(), QPoint(0, 0)), target_->size())
          .adjusted(-margin, -margin, margin, margin));
  raise();
  show();
  update();
}

}  // namespace holvan
