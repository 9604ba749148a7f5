#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstddef>
#include <string_view>

#include "text/ranges.h"

namespace holvan {

/// The read-only view of the Transcript. It follows the Transcript's
/// changes piece by piece, so that a turn costs the same however long the
/// conversation has grown; every method takes the Transcript's text as it is
/// after the change. A click selects text but leaves the focus where it was;
/// Tab reaches the view, and typing there goes on in the typing target.
class TranscriptView : public QPlainTextEdit {
 public:
  explicit TranscriptView(QWidget* parent = nullptr);

  /// Shows text afresh (the Transcript was cleared or loaded).
  void Reload(std::string_view text);
  /// Shows the last appended_size bytes of text, which were just appended,
  /// and brings the last line into view. The user's selection stays as it
  /// was.
  void ShowAppended(std::string_view text, std::size_t appended_size);
  /// The bytes [begin, begin + removed_size) of the text shown so far were
  /// removed, giving text.
  void ShowDeleted(std::string_view text, std::size_t begin,
                   std::size_t removed_size);
  /// The user's selection (or the caret, with length 0) in UTF-16 units of
  /// ToWide(text).
  WideRange Selection(std::string_view text) const;

  /// Long lines wrap (on) or run past the right edge (off).
  void SetWordWrap(bool on);
  /// The standard arrow, or the text pointer the view starts with.
  void SetArrowPointer(bool arrow);

  /// Where what is typed in the view goes (the input line), with the focus.
  /// Copy there, with nothing selected there, copies the view's selection.
  void SetTypingTarget(QLineEdit* target);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ScrollToEnd();

  Qt::CursorShape default_pointer_;
  QLineEdit* typing_target_ = nullptr;
};

}  // namespace holvan
