#pragma once

#include <QLineEdit>

#include "text/narrow_text.h"

namespace holvan {

/// The input line. It holds no line breaks: a pasted text's breaks become
/// spaces as it arrives, so none can reach a turn. No length limit. It asks
/// the input method for Japanese, and has a flat one-pixel frame.
class InputLine : public QLineEdit {
 public:
  explicit InputLine(QWidget* parent = nullptr);

  /// The line in code page 932.
  NarrowText Line() const;
  /// Shows line (code page 932) and selects all of it.
  void SetLine(const NarrowText& line);

  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

/// text with each line break (CR LF, CR, LF, U+2028, U+2029) as one space.
QString OneLine(QString text);

}  // namespace holvan
