#pragma once

#include <QLabel>
#include <QString>

namespace holvan::editor {

/// A line of text that never makes its window wider: a text longer than the
/// line is cut in the middle with "…", and its tooltip shows it whole. A long
/// folder would otherwise push the window past a small screen.
class StatusLine : public QLabel {
 public:
  explicit StatusLine(QWidget* parent);

  void SetText(const QString& text);
  const QString& FullText() const { return full_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();

  QString full_;
};

}  // namespace holvan::editor
