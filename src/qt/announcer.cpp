#include "qt/announcer.h"

#include <QTimer>

#include "qt/accessible_role.h"

namespace holvan {
namespace {

// A notification of one announcement: no look of its own, a point in the
// window's corner; screen readers see it as a notification named by its
// text.
QWidget* NewNotice(QWidget* window) {
  auto* notice = new QWidget(window);
  SetAccessibleRole(notice, QAccessible::Notification);
  notice->setAttribute(Qt::WA_TransparentForMouseEvents);
  notice->setFocusPolicy(Qt::NoFocus);
  notice->setGeometry(0, 0, 1, 1);
  notice->hide();
  return notice;
}

}  // namespace

Announcer::Announcer(QWidget* window) : QObject(window) {
  for (QWidget*& notice : notices_) notice = NewNotice(window);
}

void Announcer::Say(const QString& line) {
  if (line.trimmed().isEmpty()) return;
  if (pending_.isEmpty()) QTimer::singleShot(0, this, &Announcer::Flush);
  pending_.append(line);
}

void Announcer::Flush() {
  if (pending_.isEmpty()) return;
  QWidget* notice = notices_[next_];
  next_ = (next_ + 1) % notices_.size();
  notice->hide();
  notice->setAccessibleName(pending_.join(QLatin1Char('\n')));
  pending_.clear();
  notice->show();
}

}  // namespace holvan
