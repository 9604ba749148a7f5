#include "editor/words_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/button_keys.h"
#include "editor/entry_dialog.h"
#include "editor/entry_list.h"
#include "editor/line_lister.h"
#include "editor/memory_edits.h"
#include "editor/typed_text.h"
#include "editor/unreadable_rows.h"
#include "qt/shown_text.h"
#include "store/definition_list.h"
#include "store/line_forms.h"
#include "text/literal.h"

namespace holvan::editor {
namespace {

using memory::BrainEntry;
using memory::MemoryFolder;
using namespace holvan::literals;

/// A list under its title, its buttons in a column beside it: two such lists
/// side by side fit a narrow screen.
QWidget* Column(QWidget* parent, const QString& title, EntryList* list,
                std::initializer_list<QPushButton*> buttons) {
  auto* column = new QWidget(parent);
  auto* layout = new QGridLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(title, column), 0, 0);
  layout->addWidget(list, 1, 0);
  auto* stack = new QVBoxLayout;
  for (QPushButton* button : buttons) stack->addWidget(button);
  stack->addStretch();
  layout->addLayout(stack, 1, 1);
  return column;
}

}  // namespace

WordsPage::WordsPage(MemoryEdits& edits, QWidget* parent)
    : MemoryPage(memory::MemoryFile::kBrain, edits, parent) {
  words_ = new EntryList({QStringLiteral("行"), QStringLiteral("言葉"),
                          QStringLiteral("意味（新しい順）")},
                         true, true);
  words_->setObjectName(QStringLiteral("words_list"));
  words_->setAccessibleName(QStringLiteral("覚えた言葉の一覧"));
  words_->setAccessibleDescription(
      QStringLiteral("Enter で言葉を変更、Delete で削除します"));
  definitions_ =
      new EntryList({QStringLiteral("意味（新しい順）")}, false, false);
  definitions_->setObjectName(QStringLiteral("definitions_list"));
  definitions_->setAccessibleName(QStringLiteral("選んだ言葉の意味の一覧"));
  definitions_->setAccessibleDescription(
      QStringLiteral("Enter で意味を変更、Delete で削除します"));
  lister_ = new LineLister(words_, file());

  QPushButton* add = AddEditButton(QStringLiteral("追加…"), "add_word_button",
                                   [this] { AddWord(); });
  rename_button_ = AddEditButton(
      QStringLiteral("言葉を変更…"), "rename_word_button",
      [this] { RenameWord(); },
      [this] { return words_->SelectedLines().size() == 1; });
  remove_button_ = AddEditButton(
      QStringLiteral("削除"), "remove_word_button", [this] { RemoveWords(); },
      [this] { return !words_->SelectedLines().empty(); });
  QPushButton* add_definition = AddEditButton(
      QStringLiteral("意味を追加…"), "add_definition_button",
      [this] { AddDefinition(); },
      [this] { return CurrentWord().has_value(); });
  change_definition_button_ = AddEditButton(
      QStringLiteral("意味を変更…"), "change_definition_button",
      [this] { ChangeDefinition(); },
      [this] { return definitions_->CurrentLine().has_value(); });
  remove_definition_button_ = AddEditButton(
      QStringLiteral("意味を削除"), "remove_definition_button",
      [this] { RemoveDefinition(); },
      [this] { return definitions_->CurrentLine().has_value(); });

  Describe(add, QStringLiteral("新しい言葉を追加します"));
  Describe(rename_button_, QStringLiteral("選んだ言葉を変更します"),
           QKeySequence(Qt::Key_Return));
  Describe(remove_button_, QStringLiteral("選んだ言葉を削除します"),
           QKeySequence(QKeySequence::Delete));
  Describe(add_definition, QStringLiteral("選んだ言葉に意味を追加します"));
  Describe(change_definition_button_, QStringLiteral("選んだ意味を変更します"),
           QKeySequence(Qt::Key_Return));
  Describe(remove_definition_button_, QStringLiteral("選んだ意味を削除します"),
           QKeySequence(QKeySequence::Delete));
  words_->OnOpen([this] {
    if (rename_button_->isEnabled()) RenameWord();
  });
  words_->OnRemove([this] {
    if (remove_button_->isEnabled()) RemoveWords();
  });
  words_->OnSelection([this] {
    ShowDefinitions();
    UpdateButtons();
  });
  definitions_->OnOpen([this] {
    if (change_definition_button_->isEnabled()) ChangeDefinition();
  });
  definitions_->OnRemove([this] {
    if (remove_definition_button_->isEnabled()) RemoveDefinition();
  });
  definitions_->OnSelection([this] { UpdateButtons(); });

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(Column(splitter, QStringLiteral("言葉"), words_,
                             {add, rename_button_, remove_button_}));
  splitter->addWidget(Column(
      splitter, QStringLiteral("選んだ言葉の意味"), definitions_,
      {add_definition, change_definition_button_, remove_definition_button_}));
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);
  // Each list, then the buttons that act on it.
  QWidget* const order[] = {words_,
                            add,
                            rename_button_,
                            remove_button_,
                            definitions_,
                            add_definition,
                            change_definition_button_,
                            remove_definition_button_};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

void WordsPage::Show(const MemoryFolder& memory, const Search& search) {
  memory_ = &memory;
  lister_->Start(memory.Lines(file()), search, [&memory](int32_t line) {
    const std::string_view text =
        memory.Lines(memory::MemoryFile::kBrain).Text(line - 1);
    // A line without a key is no word: it is shown as an unreadable line.
    if (std::optional<NarrowText> reason =
            memory::UnreadableReason(memory::MemoryFile::kBrain, text)) {
      return UnreadableRow(line, text, std::move(*reason));
    }
    const KeyAndValue pair = SplitBrainLine(text);
    NarrowText definitions;
    for (const NarrowText& definition : SplitDefinitions(pair.value)) {
      if (!definitions.empty()) definitions += " ＊ "_sj;
      definitions += definition;
    }
    return EntryRow{line, {NarrowText(pair.key), std::move(definitions)}};
  });
  ShowDefinitions();
  UpdateButtons();
}

bool WordsPage::GoToLine(int32_t line) {
  if (memory_ == nullptr || !lister_->Lists(memory_->Lines(file()), line)) {
    return false;
  }
  words_->SelectWhenListed(line);
  return true;
}

bool WordsPage::Listing() const { return lister_->running(); }

void WordsPage::StopListing() { lister_->Stop(); }

std::optional<BrainEntry> WordsPage::CurrentWord() const {
  if (memory_ == nullptr || words_->SelectedLines().size() != 1) {
    return std::nullopt;
  }
  const std::optional<int32_t> line = words_->CurrentLine();
  if (!line) return std::nullopt;
  const std::string_view text = memory_->Lines(file()).Text(*line - 1);
  if (memory::UnreadableReason(file(), text)) return std::nullopt;
  const KeyAndValue pair = SplitBrainLine(text);
  return BrainEntry{*line, NarrowText(pair.key), SplitDefinitions(pair.value)};
}

void WordsPage::ShowDefinitions() {
  const std::optional<BrainEntry> word = CurrentWord();
  const int32_t line = word ? word->line : 0;
  // Another word's definitions start with none selected.
  if (line != shown_word_) definitions_->SetRows({}, {}, true);
  shown_word_ = line;
  std::vector<int32_t> places;
  std::vector<NarrowText> definitions;
  if (word) {
    definitions = word->definitions;
    for (std::size_t i = 1; i <= definitions.size(); ++i) {
      places.push_back(static_cast<int32_t>(i));
    }
  }
  definitions_->SetRows(
      std::move(places),
      [definitions = std::move(definitions)](int32_t place) {
        return EntryRow{place,
                        {definitions[static_cast<std::size_t>(place - 1)]}};
      },
      true);
}

void WordsPage::AddWord() {
  AskTexts(this, QStringLiteral("覚えた言葉を加える"),
           {{QStringLiteral("言葉"), {}}, {QStringLiteral("意味"), {}}},
           [this](const std::vector<QString>& texts) {
             int32_t line = 0;
             const bool done = edits().Edit([&](MemoryFolder& memory) {
               line = memory.AddDefinition(Typed(texts[0]), Typed(texts[1]));
             });
             if (done) words_->SelectLine(line);
             return done;
           });
}

void WordsPage::RenameWord() {
  const std::optional<EntryRow> row = words_->CurrentEntry();
  if (row && row->unreadable) {
    MendLine(this, edits(), file(), *row);
    return;
  }
  const std::optional<BrainEntry> word = CurrentWord();
  if (!word) return;
  const int32_t line = word->line;
  const std::vector<NarrowText> definitions = word->definitions;
  AskTexts(this, QStringLiteral("言葉を変える"),
           {{QStringLiteral("言葉"), ShownText(word->key)}},
           [&](const std::vector<QString>& texts) {
             return edits().Edit([&](MemoryFolder& memory) {
               memory.ChangeBrainEntry(line, Typed(texts[0]), definitions);
             });
           });
}

void WordsPage::RemoveWords() {
  const std::vector<int32_t> lines = words_->SelectedLines();
  edits().Edit([&](MemoryFolder& memory) {
    memory.RemoveLines(memory::MemoryFile::kBrain, lines);
  });
}

void WordsPage::AddDefinition() {
  const std::optional<BrainEntry> word = CurrentWord();
  if (!word) return;
  const NarrowText key = word->key;
  AskTexts(this, QStringLiteral("「%1」に意味を加える").arg(ShownText(key)),
           {{QStringLiteral("意味"), {}}},
           [&](const std::vector<QString>& texts) {
             const bool done = edits().Edit([&](MemoryFolder& memory) {
               memory.AddDefinition(key, Typed(texts[0]));
             });
             // The definition added is the newest.
             if (done) definitions_->SelectLine(1);
             return done;
           });
}

void WordsPage::ChangeDefinition() {
  const std::optional<BrainEntry> word = CurrentWord();
  const std::optional<int32_t> place = definitions_->CurrentLine();
  if (!word || !place) return;
  const int32_t line = word->line;
  const NarrowText key = word->key;
  std::vector<NarrowText> definitions = word->definitions;
  const auto index = static_cast<std::size_t>(*place - 1);
  AskTexts(this, QStringLiteral("「%1」の意味を変える").arg(ShownText(key)),
           {{QStringLiteral("意味"), ShownText(definitions[index])}},
           [&](const std::vector<QString>& texts) {
             return edits().Edit([&](MemoryFolder& memory) {
               definitions[index] = Typed(texts[0]);
               memory.ChangeBrainEntry(line, key, definitions);
             });
           });
}

void WordsPage::RemoveDefinition() {
  const std::optional<BrainEntry> word = CurrentWord();
  const std::optional<EntryRow> definition = definitions_->CurrentEntry();
  if (!word || !definition) return;
  const int32_t line = word->line;
  const NarrowText text = definition->cells[0];
  edits().Edit(
      [&](MemoryFolder& memory) { memory.RemoveDefinition(line, text); });
}

}  // namespace holvan::editor
