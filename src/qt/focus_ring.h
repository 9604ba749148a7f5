#pragma once

#include <QPointer>
#include <QWidget>

namespace holvan {

/// A ring drawn around whichever control of window has the keyboard focus,
/// in a colour that stands out from the window's background (gold on a dark
/// window, blue on a light one, black or white on a mid grey), so that a
/// keyboard user sees where typing and Space go on any theme: the windows'
/// fixed colours leave the style's own focus marks faint or none.
class FocusRing : public QWidget {
 public:
  explicit FocusRing(QWidget* window);

  /// The ring's colour on background.
  static QColor ColourOn(const QColor& background);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(QWidget* focused);
  void Place();

  QPointer<QWidget> target_;
};

}  // namespace holvan
