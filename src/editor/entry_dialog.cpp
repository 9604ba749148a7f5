#include "editor/entry_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

#include "qt/colours.h"
#include "qt/fonts.h"
#include "qt/input_line.h"

namespace holvan::editor {

bool AskTexts(QWidget* parent, const QString& title, std::vector<Field> fields,
              const std::function<bool(const std::vector<QString>&)>& apply) {
  QDialog dialog(parent, Qt::Dialog | Qt::WindowTitleHint |
                             Qt::WindowCloseButtonHint |
                             Qt::CustomizeWindowHint);
  dialog.setObjectName(QStringLiteral("entry_dialog"));
  dialog.setWindowTitle(title);
  dialog.setPalette(FixedColoursOnBlack());
  dialog.setAutoFillBackground(true);
  dialog.setFont(WindowFont(15));

  auto* form = new QFormLayout(&dialog);
  form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
  std::vector<InputLine*> lines;
  for (const Field& field : fields) {
    auto* line = new InputLine(&dialog);
    line->setObjectName(QStringLiteral("field_%1").arg(lines.size() + 1));
    line->setAccessibleName(field.label);
    line->setText(field.text);
    // Room for a sentence at any scale.
    line->setMinimumWidth(line->fontMetrics().horizontalAdvance(QChar(0x3042)) *
                          28);
    form->addRow(field.label, line);
    lines.push_back(line);
  }
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  const auto focus_first = [&lines] {
    if (lines.empty()) return;
    lines.front()->setFocus();
    lines.front()->selectAll();
  };
  // A refusal's box opens over the dialog, which stays open where it is.
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    std::vector<QString> texts;
    for (const InputLine* line : lines) texts.push_back(OneLine(line->text()));
    if (apply(texts)) {
      dialog.accept();
    } else {
      focus_first();
    }
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog,
                   &QDialog::reject);
  focus_first();
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace holvan::editor
