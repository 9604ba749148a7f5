#include "editor/save_question.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace holvan::editor {

SaveAnswer AskToSave(QWidget* parent,
                     const std::vector<memory::MemoryFile>& files) {
  QStringList names;
  for (memory::MemoryFile file : files) {
    names.append(QString::fromLatin1(memory::FileName(file)));
  }
  QMessageBox box(QMessageBox::Warning, QStringLiteral("記憶の整理"),
                  QStringLiteral("保存しますか？"), QMessageBox::NoButton,
                  parent);
  box.setObjectName(QStringLiteral("save_question"));
  box.setInformativeText(
      QStringLiteral("まだ保存していない変更があります（%1）。"
                     "保存しないと、変更はなくなります。")
          .arg(names.join(QStringLiteral("、"))));
  QPushButton* save =
      box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
  QPushButton* discard =
      box.addButton(QStringLiteral("保存しない"), QMessageBox::DestructiveRole);
  QPushButton* cancel =
      box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return SaveAnswer::kSave;
  if (box.clickedButton() == discard) return SaveAnswer::kDiscard;
  return SaveAnswer::kCancel;
}

}  // namespace holvan::editor
