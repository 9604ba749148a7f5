#include "qt/message_box.h"

#include "qt/shown_text.h"

namespace holvan {

// Its nested event loop keeps the windows' timers ticking.
void ShowBox(QWidget* parent, QMessageBox::Icon icon, const NarrowText& caption,
             const NarrowText& text) {
  QMessageBox box(icon, ShownText(caption), ShownText(text), QMessageBox::Ok,
                  parent);
  box.exec();
}

}  // namespace holvan
