#include "qt/input_line.h"

#include <QPainter>
#include <algorithm>
#include <limits>

#include "qt/fonts.h"
#include "qt/shown_text.h"

namespace holvan {
namespace {

bool IsBreak(QChar c) {
  return c == u'\r' || c == u'\n' || c == QChar::LineSeparator ||
         c == QChar::ParagraphSeparator;
}

}  // namespace

QString OneLine(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  for (QChar& c : text) {
    if (IsBreak(c)) c = u' ';
  }
  return text;
}

InputLine::InputLine(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(std::numeric_limits<int>::max());
  // The style draws no frame; paintEvent draws the flat one inside this
  // margin.
  setFrame(false);
  setContentsMargins(1, 1, 1, 1);
  setTextMargins(2, 0, 2, 0);
  setFont(WindowFont(15));
  setAttribute(Qt::WA_InputMethodEnabled);
  // Japanese has no capitals for a virtual keyboard to start a line with.
  setInputMethodHints(Qt::ImhNoAutoUppercase);
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!std::any_of(text.begin(), text.end(), IsBreak)) return;
    const auto caret = OneLine(text.left(cursorPosition())).size();
    setText(OneLine(text));
    setCursorPosition(static_cast<int>(caret));
  });
}

NarrowText InputLine::Line() const { return TypedText(OneLine(text())); }

void InputLine::SetLine(const NarrowText& line) {
  setText(ShownText(line));
  selectAll();
}

QVariant InputLine::inputMethodQuery(Qt::InputMethodQuery query) const {
  // Heard by the input methods of Wayland's text-input protocols.
  if (query == Qt::ImPreferredLanguage) return QStringLiteral("ja");
  return QLineEdit::inputMethodQuery(query);
}

void InputLine::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace holvan
