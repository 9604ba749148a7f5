#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

namespace holvan {

/// Tells screen readers what the program says, without taking the focus
/// from where the user types: each announcement is a notification that
/// appears in the window (a screen reader reads a notification when it
/// appears; text added to a control without the focus it passes over).
/// Lines given during one event are announced together when it ends.
class Announcer : public QObject {
 public:
  explicit Announcer(QWidget* window);

  /// Announces line once the current event is over.
  void Say(const QString& line);

 private:
  void Flush();

  QStringList pending_;
  /// Notifications taken in turn, so that one still being read keeps its
  /// text while the next appears.
  std::array<QWidget*, 4> notices_{};
  std::size_t next_ = 0;
};

}  // namespace holvan
