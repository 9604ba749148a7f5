#include "editor/facts_page.h"

#include "editor/entry_dialog.h"
#include "editor/entry_list.h"
#include "editor/memory_edits.h"
#include "editor/typed_text.h"
#include "editor/unreadable_rows.h"
#include "qt/shown_text.h"
#include "store/line_forms.h"

namespace holvan::editor {

using memory::MemoryFolder;

FactsPage::FactsPage(MemoryEdits& edits, QWidget* parent)
    : ListPage(memory::MemoryFile::kDictionary, edits, parent, "fact",
               QStringLiteral("辞書の一覧"),
               {QStringLiteral("行"), QStringLiteral("言葉"),
                QStringLiteral("説明")},
               true) {}

void FactsPage::Show(const MemoryFolder& memory, const Search& search) {
  ShowRows(memory, search, [&memory](int32_t line) -> EntryRow {
    const std::string_view text =
        memory.Lines(memory::MemoryFile::kDictionary).Text(line - 1);
    if (const auto pair = SplitDictionaryLine(text)) {
      return {line, {NarrowText(pair->key), NarrowText(pair->value)}};
    }
    return UnreadableRow(
        line, text,
        *memory::UnreadableReason(memory::MemoryFile::kDictionary, text));
  });
}

void FactsPage::Add() {
  AskTexts(this, QStringLiteral("辞書に加える"),
           {{QStringLiteral("言葉"), {}}, {QStringLiteral("説明"), {}}},
           [this](const std::vector<QString>& texts) {
             int32_t line = 0;
             const bool done = edits().Edit([&](MemoryFolder& memory) {
               line = memory.AddFact(Typed(texts[0]), Typed(texts[1]));
             });
             if (done) GoToLine(line);
             return done;
           });
}

void FactsPage::Change() {
  const std::optional<EntryRow> fact = list()->CurrentEntry();
  if (!fact) return;
  if (fact->unreadable) {
    MendLine(this, edits(), file(), *fact);
    return;
  }
  const int32_t line = fact->line;
  AskTexts(this, QStringLiteral("辞書の事柄を変える"),
           {{QStringLiteral("言葉"), ShownText(fact->cells[0])},
            {QStringLiteral("説明"), ShownText(fact->cells[1])}},
           [this, line](const std::vector<QString>& texts) {
             return edits().Edit([&](MemoryFolder& memory) {
               memory.ChangeFact(line, Typed(texts[0]), Typed(texts[1]));
             });
           });
}

}  // namespace holvan::editor
