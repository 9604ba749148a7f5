#include "ui/transcript_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

#include "qt/colours.h"
#include "qt/fonts.h"
#include "qt/shown_text.h"

namespace holvan {
namespace {

constexpr std::string_view kBreakBytes = "\r\n";

// The start of the line that holds byte at: just after the last break before
// it.
std::size_t LineStart(std::string_view text, std::size_t at) {
  if (at == 0) return 0;
  const std::size_t last_break = text.find_last_of(kBreakBytes, at - 1);
  return last_break == std::string_view::npos ? 0 : last_break + 1;
}

}  // namespace

TranscriptView::TranscriptView(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setUndoRedoEnabled(false);
  // Flat: one line of the text colour, no 3-D look.
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setFont(WindowFont(15));
  document()->setDocumentMargin(2);

  // Black on grey while enabled; the selection looks the same whether or not
  // the view has the focus (FixedColours), so that a selection made before
  // typing "削除" in the input line stays visible.
  setPalette(GreyFieldColours(palette()));

  default_pointer_ = viewport()->cursor().shape();
  // A click on the conversation leaves the focus in the input line, so that
  // typing and Enter go on there.
  setFocusPolicy(Qt::TabFocus);
}

void TranscriptView::Reload(std::string_view text) {
  setPlainText(ShownText(text));
  ScrollToEnd();
}

void TranscriptView::ShowAppended(std::string_view text,
                                  std::size_t appended_size) {
  if (appended_size == 0) return;
  if (appended_size > text.size()) {
    Reload(text);
    return;
  }
  // Text inserted where the user's selection ends would extend it, and the
  // last line shown again would drop it: put it back as it was.
  const QTextCursor selection = textCursor();
  const int anchor = selection.anchor();
  const int position = selection.position();
  const std::size_t old_size = text.size() - appended_size;
  std::string_view added = text.substr(old_size);
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  if (old_size == 0 || text[old_size - 1] == '\n') {
    cursor.insertText(ShownText(added));
  } else if (text[old_size - 1] == '\r') {
    // The CR already shows as a break; an LF after it completes that break.
    if (added.front() == '\n') added.remove_prefix(1);
    cursor.insertText(ShownText(added));
  } else {
    // The last line goes on: show it again whole, since its last byte may
    // now begin a character with the first appended byte.
    const std::size_t line_start = LineStart(text, old_size);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(ShownText(text.substr(line_start)));
  }
  if (textCursor().anchor() != anchor || textCursor().position() != position) {
    // A last character completed by the appended bytes may show shorter.
    const int last = document()->characterCount() - 1;
    QTextCursor restored(document());
    restored.setPosition(std::min(anchor, last));
    restored.setPosition(std::min(position, last), QTextCursor::KeepAnchor);
    setTextCursor(restored);
  }
  ScrollToEnd();
}

void TranscriptView::ShowDeleted(std::string_view text, std::size_t begin,
                                 std::size_t removed_size) {
  if (removed_size == 0) return;
  if (begin > text.size()) {
    Reload(text);
    return;
  }
  const std::size_t line_start = LineStart(text, begin);
  std::size_t line_end = text.find_first_of(kBreakBytes, begin);
  if (line_end == std::string_view::npos) line_end = text.size();
  if (line_start == line_end && line_start > 0 &&
      text[line_start - 1] == '\r' && line_end < text.size() &&
      text[line_end] == '\n') {
    // A CR and an LF that the removal brought together are one break now.
    Reload(text);
    return;
  }
  // Lines before line_start and after line_end are unchanged; the lines in
  // between, in what is shown, become the one joined line.
  const auto first_block =
      static_cast<int>(BreakCount(text.substr(0, line_start)));
  const auto last_block = document()->blockCount() - 1 -
                          static_cast<int>(BreakCount(text.substr(line_end)));
  const QTextBlock first = document()->findBlockByNumber(first_block);
  const QTextBlock last = document()->findBlockByNumber(last_block);
  if (!first.isValid() || !last.isValid() || last_block < first_block) {
    Reload(text);
    return;
  }
  QTextCursor cursor(document());
  cursor.setPosition(first.position());
  cursor.setPosition(last.position() + last.length() - 1,
                     QTextCursor::KeepAnchor);
  cursor.insertText(ShownText(text.substr(line_start, line_end - line_start)));
}

WideRange TranscriptView::Selection(std::string_view text) const {
  const QTextCursor cursor = textCursor();
  return WideRangeOfShown(text,
                          static_cast<std::size_t>(cursor.selectionStart()),
                          static_cast<std::size_t>(cursor.selectionEnd()));
}

void TranscriptView::SetWordWrap(bool on) {
  setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TranscriptView::SetArrowPointer(bool arrow) {
  viewport()->setCursor(arrow ? Qt::ArrowCursor : default_pointer_);
}

void TranscriptView::SetTypingTarget(QLineEdit* target) {
  typing_target_ = target;
  target->installEventFilter(this);
}

void TranscriptView::keyPressEvent(QKeyEvent* event) {
  // Reading keys stay here; a typed character, Enter and the editing keys
  // belong to the input line.
  const bool typing = !event->text().isEmpty() &&
                      !event->matches(QKeySequence::Copy) &&
                      !event->matches(QKeySequence::SelectAll) &&
                      !(event->modifiers() & Qt::ControlModifier);
  if (typing_target_ == nullptr || !typing) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  typing_target_->setFocus(Qt::OtherFocusReason);
  QApplication::sendEvent(typing_target_, event);
}

bool TranscriptView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == typing_target_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
      !typing_target_->hasSelectedText() && textCursor().hasSelection()) {
    copy();
    return true;
  }
  return QPlainTextEdit::eventFilter(watched, event);
}

void TranscriptView::ScrollToEnd() {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->maximum());
}

}  // namespace holvan
