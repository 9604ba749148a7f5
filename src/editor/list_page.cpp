#include "editor/list_page.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "editor/button_keys.h"
#include "editor/entry_list.h"
#include "editor/memory_edits.h"

namespace holvan::editor {
namespace {

std::string Named(const char* first, const char* noun, const char* last) {
  return std::string(first) + noun + last;
}

}  // namespace

ListPage::ListPage(memory::MemoryFile file, MemoryEdits& edits, QWidget* parent,
                   const char* noun, const QString& title, QStringList headers,
                   bool adds)
    : MemoryPage(file, edits, parent) {
  list_ = new EntryList(std::move(headers), true, true, this);
  list_->setObjectName(QString::fromStdString(Named("", noun, "s_list")));
  list_->setAccessibleName(title);
  list_->setAccessibleDescription(
      QStringLiteral("Enter で変更、Delete で削除します"));
  lister_ = new LineLister(list_, file);

  auto* buttons = new QHBoxLayout;
  if (adds) {
    QPushButton* add = AddEditButton(QStringLiteral("追加…"),
                                     Named("add_", noun, "_button").c_str(),
                                     [this] { Add(); });
    Describe(add, QStringLiteral("新しい項目を追加します"));
    buttons->addWidget(add);
  }
  QPushButton* change = AddEditButton(
      QStringLiteral("変更…"), Named("change_", noun, "_button").c_str(),
      [this] { Change(); },
      [this] { return list_->SelectedLines().size() == 1; });
  QPushButton* remove = AddEditButton(
      QStringLiteral("削除"), Named("remove_", noun, "_button").c_str(),
      [this] { Remove(); }, [this] { return !list_->SelectedLines().empty(); });
  Describe(change, QStringLiteral("選んだ項目を変更します"),
           QKeySequence(Qt::Key_Return));
  Describe(remove, QStringLiteral("選んだ項目を削除します"),
           QKeySequence(QKeySequence::Delete));
  buttons->addWidget(change);
  buttons->addWidget(remove);
  buttons->addStretch();
  list_->OnOpen([this, change] {
    if (change->isEnabled()) Change();
  });
  list_->OnRemove([this, remove] {
    if (remove->isEnabled()) Remove();
  });
  list_->OnSelection([this] { UpdateButtons(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);
}

bool ListPage::GoToLine(int32_t line) {
  ListUnlisted();
  if (memory_ == nullptr || !lister_->Lists(memory_->Lines(file()), line)) {
    return false;
  }
  list_->SelectWhenListed(line);
  return true;
}

void ListPage::ShowRows(const memory::MemoryFolder& memory,
                        const Search& search, EntryModel::RowOf row_of) {
  memory_ = &memory;
  unlisted_ = Unlisted{search, std::move(row_of)};
  if (isVisible()) {
    ListUnlisted();
    return;
  }
  // The rows listed before may show lines that are no more.
  lister_->Stop();
  list_->SetRows({}, {}, false);
  UpdateButtons();
}

void ListPage::showEvent(QShowEvent* event) {
  MemoryPage::showEvent(event);
  ListUnlisted();
}

void ListPage::ListUnlisted() {
  if (!unlisted_) return;
  Unlisted unlisted = std::move(*unlisted_);
  unlisted_.reset();
  lister_->Start(memory_->Lines(file()), unlisted.search,
                 std::move(unlisted.row_of));
  UpdateButtons();
}

void ListPage::Remove() {
  const std::vector<int32_t> lines = list_->SelectedLines();
  edits().Edit(
      [&](memory::MemoryFolder& memory) { memory.RemoveLines(file(), lines); });
}

}  // namespace holvan::editor
