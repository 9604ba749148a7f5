#include "ui/version_dialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <algorithm>

#include "qt/colours.h"
#include "qt/fonts.h"
#include "qt/shown_text.h"
#include "qt/whole_on_screen.h"
#include "text/literal.h"

namespace holvan {
namespace {

using namespace holvan::literals;

// A label at its place, grown where its text needs more room.
QLabel* PlaceLabel(QWidget* dialog, const char* name, const QString& text,
                   const QRect& place, const QFont& font) {
  auto* label = new QLabel(text, dialog);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  const QSize needed = label->sizeHint();
  label->setGeometry(place.x(), place.y(),
                     std::max(place.width(), needed.width()),
                     std::max(place.height(), needed.height()));
  return label;
}

}  // namespace

VersionDialog::VersionDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("version_dialog"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ShownText("バージョン情報"_sj));
  setFixedSize(240, 157);
  PlaceWhole(this, {246, 282});
  setPalette(FixedColours(kGrey));
  setAutoFillBackground(true);
  setFont(WindowFont(15));

  PlaceLabel(this, "name_label", QStringLiteral("Holvan"), {16, 8, 96, 21},
             WindowFont(21, true));
  PlaceLabel(this, "version_label", QStringLiteral("Ver1.0"), {152, 12, 42, 15},
             font());
  PlaceLabel(this, "notice_label", ShownText("(C) Holvan 開発チーム MIT"_sj),
             {56, 136, 178, 15}, font());

  auto* notes = new QPlainTextEdit(this);
  notes->setObjectName(QStringLiteral("notes"));
  notes->setGeometry(8, 32, 225, 97);
  notes->setFont(WindowFont(13));
  notes->setReadOnly(true);
  notes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  notes->setPlainText(
      ShownText("\r\n同じフォルダに辞書ファイルを名前\r\ndic."
                "datで置いておくと，質問して\r\n"
                "聞くことができます。他もろもろ。\r\n\r\n詳しくはHPへ"_sj));
  notes->setFocus();
}

}  // namespace holvan
