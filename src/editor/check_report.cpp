#include "editor/check_report.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/colours.h"
#include "qt/fonts.h"
#include "qt/shown_text.h"

namespace holvan::editor {

std::optional<memory::Problem> ShowCheckReport(
    QWidget* parent, const std::vector<memory::Problem>& problems) {
  QDialog dialog(parent, Qt::Dialog | Qt::WindowTitleHint |
                             Qt::WindowCloseButtonHint |
                             Qt::CustomizeWindowHint);
  dialog.setObjectName(QStringLiteral("check_report"));
  dialog.setWindowTitle(QStringLiteral("検査"));
  dialog.setPalette(FixedColoursOnBlack());
  dialog.setAutoFillBackground(true);
  dialog.setFont(WindowFont(15));

  auto* summary = new QLabel(
      problems.empty() ? QStringLiteral("問題は見つかりませんでした。")
                       : QStringLiteral("%1 件の問題が見つかりました。"
                                        "ダブルクリックでその行に移ります。")
                             .arg(problems.size()),
      &dialog);
  summary->setObjectName(QStringLiteral("check_summary"));
  summary->setWordWrap(true);

  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("problems_list"));
  list->setAccessibleName(QStringLiteral("見つかった問題の一覧"));
  list->setAccessibleDescription(QStringLiteral("Enter でその行に移ります"));
  list->setFrameStyle(QFrame::Box | QFrame::Plain);
  list->setPalette(GreyFieldColours(list->palette()));
  list->setUniformItemSizes(true);
  for (const memory::Problem& problem : problems) {
    list->addItem(ShownText(memory::ProblemText(problem)));
  }
  const int em = list->fontMetrics().horizontalAdvance(QChar(0x3042));
  list->setMinimumSize(em * 28, em * 10);

  std::optional<memory::Problem> chosen;
  // A double click, or Enter.
  QObject::connect(
      list, &QListWidget::itemActivated, &dialog, [&](QListWidgetItem* item) {
        chosen = problems[static_cast<std::size_t>(list->row(item))];
        dialog.accept();
      });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog,
                   &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(summary);
  layout->addWidget(list);
  layout->addWidget(buttons);
  dialog.exec();
  return chosen;
}

}  // namespace holvan::editor
