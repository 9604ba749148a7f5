#include "editor/memory_page.h"

#include <QPushButton>

namespace holvan::editor {

MemoryPage::MemoryPage(memory::MemoryFile file, MemoryEdits& edits,
                       QWidget* parent)
    : QWidget(parent), file_(file), edits_(edits) {}

void MemoryPage::SetEditable(bool editable) {
  editable_ = editable;
  UpdateButtons();
}

QPushButton* MemoryPage::AddEditButton(const QString& text, const char* name,
                                       std::function<void()> press,
                                       std::function<bool()> needed) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this,
          [press = std::move(press)] { press(); });
  buttons_.push_back({button, std::move(needed)});
  button->setEnabled(false);
  return button;
}

void MemoryPage::UpdateButtons() {
  for (const EditButton& edit : buttons_) {
    edit.button->setEnabled(editable_ && (!edit.needed || edit.needed()));
  }
}

}  // namespace holvan::editor
