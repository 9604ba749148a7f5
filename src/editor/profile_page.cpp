#include "editor/profile_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/button_keys.h"
#include "editor/memory_edits.h"
#include "editor/typed_text.h"
#include "qt/input_line.h"
#include "qt/shown_text.h"

namespace holvan::editor {

using memory::MemoryFolder;

ProfilePage::ProfilePage(MemoryEdits& edits, QWidget* parent)
    : MemoryPage(memory::MemoryFile::kProfile, edits, parent) {
  name_ = new InputLine(this);
  name_->setObjectName(QStringLiteral("name_field"));
  name_->setAccessibleName(QStringLiteral("あなたの名前"));
  QPushButton* rename = AddEditButton(QStringLiteral("名前を変更"),
                                      "rename_button", [this] { Rename(); });
  Describe(rename, QStringLiteral("入力した名前にします"),
           QKeySequence(Qt::Key_Return));
  connect(name_, &QLineEdit::returnPressed, rename, &QPushButton::click);
  connect(name_, &QLineEdit::textChanged, this,
          [this] { this->edits().TypedChanged(); });
  auto* note = new QLabel(
      QStringLiteral("Holvan が呼ぶあなたの名前です（holv.dat の 1 行目）。"),
      this);
  note->setWordWrap(true);

  auto* label = new QLabel(QStringLiteral("名前"), this);
  label->setBuddy(name_);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(name_, 1);
  row->addWidget(rename);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(note);
  layout->addStretch();
}

void ProfilePage::Show(const MemoryFolder& memory, const Search&) {
  NarrowText name = memory.UserName();
  if (name == shown_name_) return;
  // First, so that the text set is no name typed.
  shown_name_ = std::move(name);
  name_->setText(ShownText(shown_name_));
}

void ProfilePage::SetEditable(bool editable) {
  MemoryPage::SetEditable(editable);
  name_->setReadOnly(!editable);
}

bool ProfilePage::GoToLine(int32_t) {
  name_->setFocus();
  return true;
}

std::function<void(MemoryFolder&)> ProfilePage::TypedEdit() const {
  const QString name = OneLine(name_->text());
  if (!editable() || name == ShownText(shown_name_)) return {};
  return [name](MemoryFolder& memory) { memory.SetUserName(Typed(name)); };
}

void ProfilePage::Rename() {
  // The name as it is changes nothing.
  if (const auto rename = TypedEdit()) edits().Edit(rename);
}

}  // namespace holvan::editor
