#include "editor/phrases_page.h"

#include "editor/entry_dialog.h"
#include "editor/entry_list.h"
#include "editor/memory_edits.h"
#include "editor/typed_text.h"
#include "qt/shown_text.h"

namespace holvan::editor {

using memory::MemoryFolder;

PhrasesPage::PhrasesPage(MemoryEdits& edits, QWidget* parent)
    : ListPage(memory::MemoryFile::kPhrases, edits, parent, "phrase",
               QStringLiteral("発言の記録の一覧"),
               {QStringLiteral("行"), QStringLiteral("発言")}, false) {}

void PhrasesPage::Show(const MemoryFolder& memory, const Search& search) {
  ShowRows(memory, search, [&memory](int32_t line) -> EntryRow {
    return {line,
            {NarrowText(
                memory.Lines(memory::MemoryFile::kPhrases).Text(line - 1))}};
  });
}

void PhrasesPage::Change() {
  const std::optional<EntryRow> phrase = list()->CurrentEntry();
  if (!phrase) return;
  const int32_t line = phrase->line;
  AskTexts(this, QStringLiteral("発言を変える"),
           {{QStringLiteral("発言"), ShownText(phrase->cells[0])}},
           [this, line](const std::vector<QString>& texts) {
             return edits().Edit([&](MemoryFolder& memory) {
               memory.ChangePhrase(line, Typed(texts[0]));
             });
           });
}

}  // namespace holvan::editor
