#include "editor/status_line.h"

#include <QResizeEvent>

namespace holvan::editor {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void StatusLine::SetText(const QString& text) {
  full_ = text;
  setToolTip(text);
  Elide();
}

void StatusLine::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void StatusLine::Elide() {
  setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, width()));
}

}  // namespace holvan::editor
