#include "qt/message_box.h"

#include "qt/shown_text.h"

namespace holvan {

// Its nested event loop keeps the windows' timers ticking.
void ShowBox(QWidget* parent, QMessageBox::Icon icon, const NarrowText& caption,
             const NarrowText& text) {
  ShowBox(parent, icon, ShownText(caption), ShownText(text));
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
             const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace holvan
