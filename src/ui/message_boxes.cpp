#include "ui/message_boxes.h"

#include <QMessageBox>

#include "os/lock_messages.h"
#include "text/literal.h"
#include "ui/shown_text.h"

namespace holvan {
namespace {

using namespace holvan::literals;

}  // namespace

// Its nested event loop keeps the idle-remark timer ticking.
void ShowBox(QWidget* parent, QMessageBox::Icon icon, const NarrowText& caption,
             const NarrowText& text) {
  QMessageBox box(icon, ShownText(caption), ShownText(text), QMessageBox::Ok,
                  parent);
  box.exec();
}

void ShowErrorBox(QWidget* parent, const Error& error) {
  ShowBox(parent, QMessageBox::Critical, "Holvan", error.BoxText());
}

void ShowFolderBusyBox(QWidget* parent,
                       const std::optional<LockHolder>& holder) {
  ShowBox(parent, QMessageBox::Critical, "Holvan", FolderBusyMessage(holder));
}

void ShowUnlockedStartBox(QWidget* parent, const NarrowText& message) {
  ShowBox(parent, QMessageBox::Warning, "Holvan", message);
}

void ShowClosingBox(QWidget* parent) {
  ShowBox(parent, QMessageBox::Question, "確認"_sj, "終了します　　"_sj);
}

}  // namespace holvan
