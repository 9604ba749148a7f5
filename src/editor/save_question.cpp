#include "editor/save_question.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
#include <utility>

#include "qt/shown_text.h"

namespace holvan::editor {
namespace {

/// Makes box one of the window's: its title, a warning, text, and the
/// informative text under it.
void Word(QMessageBox& box, const char* name, const QString& text,
          const QString& informative) {
  box.setIcon(QMessageBox::Warning);
  box.setWindowTitle(QStringLiteral("記憶の整理"));
  box.setObjectName(QString::fromLatin1(name));
  box.setText(text);
  box.setInformativeText(informative);
}

/// Shows box with buttons, the first the default and the last Esc's, and
/// returns which one was pressed.
std::size_t Ask(
    QMessageBox& box,
    std::initializer_list<std::pair<QString, QMessageBox::ButtonRole>>
        buttons) {
  std::vector<QPushButton*> added;
  for (const auto& [text, role] : buttons) {
    added.push_back(box.addButton(text, role));
  }
  box.setDefaultButton(added.front());
  box.setEscapeButton(added.back());
  box.exec();
  return static_cast<std::size_t>(
      std::find(added.begin(), added.end(), box.clickedButton()) -
      added.begin());
}

}  // namespace

SaveAnswer AskToSave(QWidget* parent,
                     const std::vector<memory::MemoryFile>& files) {
  QStringList names;
  for (memory::MemoryFile file : files) {
    names.append(QString::fromLatin1(memory::FileName(file)));
  }
  QMessageBox box(parent);
  Word(box, "save_question", QStringLiteral("保存しますか？"),
       QStringLiteral("まだ保存していない変更があります（%1）。"
                      "保存しないと、変更はなくなります。")
           .arg(names.join(QStringLiteral("、"))));
  switch (
      Ask(box, {{QStringLiteral("保存"), QMessageBox::AcceptRole},
                {QStringLiteral("保存しない"), QMessageBox::DestructiveRole},
                {QStringLiteral("キャンセル"), QMessageBox::RejectRole}})) {
    case 0:
      return SaveAnswer::kSave;
    case 1:
      return SaveAnswer::kDiscard;
    default:
      return SaveAnswer::kCancel;
  }
}

bool AskToReload(QWidget* parent, memory::MemoryFile file) {
  const QString name = QString::fromLatin1(memory::FileName(file));
  QMessageBox box(parent);
  Word(box, "reload_question",
       QStringLiteral("%1 はほかのプログラムが書き換えました").arg(name),
       QStringLiteral("このウィンドウが読み込んだ後に書き換えられたので、%1 "
                      "は保存していません（ほかのファイルは保存しました）。"
                      "%1 を読み直して、その変更をもう一度して保存しますか？")
           .arg(name));
  return Ask(box, {{QStringLiteral("読み直して保存"), QMessageBox::AcceptRole},
                   {QStringLiteral("保存しない"), QMessageBox::RejectRole}}) ==
         0;
}

void TellNotRedone(QWidget* parent, memory::MemoryFile file,
                   const std::vector<NarrowText>& edits) {
  QStringList lines;
  lines.append(
      QStringLiteral("変えたり消したりした行が、読み直したファイル"
                     "にもうありません:"));
  for (const NarrowText& edit : edits) {
    lines.append(QStringLiteral("・") + ShownText(edit));
  }
  QMessageBox box(parent);
  Word(
      box, "not_redone",
      QStringLiteral("%1 を読み直しましたが、%2 件の変更はやり直せませんでした")
          .arg(QString::fromLatin1(memory::FileName(file)))
          .arg(edits.size()),
      lines.join(QChar('\n')));
  box.exec();
}

}  // namespace holvan::editor
