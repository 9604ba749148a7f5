#include "editor/typed_text.h"

#include <QApplication>
#include <QMessageBox>
#include <string>

#include "memory/user_text.h"

namespace holvan::editor {

NarrowText Typed(const QString& text) {
  const std::string utf8 = text.toStdString();
  NarrowText typed = memory::FromUser(utf8);
  if (const std::string notice = memory::ReplacementNotice(utf8);
      !notice.empty()) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("記憶の整理"),
                    QString::fromStdString(notice), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("replaced_box"));
    box.exec();
  }
  return typed;
}

}  // namespace holvan::editor
