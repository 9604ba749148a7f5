#include "ui/message_boxes.h"

#include <QMessageBox>

#include "os/lock_messages.h"
#include "qt/message_box.h"
#include "text/literal.h"

namespace holvan {
namespace {

using namespace holvan::literals;

}  // namespace

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
