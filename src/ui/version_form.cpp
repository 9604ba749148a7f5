#include "ui/version_form.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <algorithm>

#include "text/literal.h"
#include "ui/fonts.h"
#include "ui/shown_text.h"

namespace holvan {
namespace {

using namespace holvan::literals;

// A label at its designed place, grown where its text needs more room.
QLabel* PlaceLabel(QWidget* form, const char* name, const QString& text,
                   const QRect& designed, const QFont& font) {
  auto* label = new QLabel(text, form);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  const QSize needed = label->sizeHint();
  label->setGeometry(designed.x(), designed.y(),
                     std::max(designed.width(), needed.width()),
                     std::max(designed.height(), needed.height()));
  return label;
}

}  // namespace

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("Form2"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ShownText("バージョン情報"_sj));
  setFixedSize(240, 157);
  move(246, 282);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  setPalette(colours);
  setAutoFillBackground(true);
  setFont(WindowFont(15));

  PlaceLabel(this, "Label1", QStringLiteral("Holvan"), {16, 8, 96, 21},
             WindowFont(21, true));
  PlaceLabel(this, "Label2", QStringLiteral("Ver1.0"), {152, 12, 42, 15},
             font());
  PlaceLabel(this, "Label3", ShownText("(C) Holvan 開発チーム MIT"_sj),
             {56, 136, 178, 15}, font());

  auto* memo1 = new QPlainTextEdit(this);
  memo1->setObjectName(QStringLiteral("Memo1"));
  memo1->setGeometry(8, 32, 225, 97);
  memo1->setFont(WindowFont(13));
  memo1->setReadOnly(true);
  memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo1->setPlainText(
      ShownText("\r\n同じフォルダに辞書ファイルを名前\r\ndic."
                "datで置いておくと，質問して\r\n"
                "聞くことができます。他もろもろ。\r\n\r\n詳しくはHPへ"_sj));
  memo1->setFocus();
}

}  // namespace holvan
