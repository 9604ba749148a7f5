#include "editor/unreadable_rows.h"

#include "editor/entry_dialog.h"
#include "editor/memory_edits.h"
#include "editor/typed_text.h"
#include "qt/shown_text.h"
#include "text/literal.h"

namespace holvan::editor {

using namespace holvan::literals;

EntryRow UnreadableRow(int32_t line, std::string_view text, NarrowText reason) {
  return {line, {NarrowText(text), "読めない行: "_sj + reason}, true};
}

void MendLine(QWidget* parent, MemoryEdits& edits, memory::MemoryFile file,
              const EntryRow& row) {
  const int32_t line = row.line;
  const QString form = file == memory::MemoryFile::kDictionary
                           ? QStringLiteral("言葉*説明")
                           : QStringLiteral("言葉＝意味＊意味…");
  AskTexts(parent, QStringLiteral("読めない行を直す"),
           {{form, ShownText(row.cells[0])}},
           [&](const std::vector<QString>& texts) {
             return edits.Edit([&](memory::MemoryFolder& memory) {
               memory.FixLine(file, line, Typed(texts[0]));
             });
           });
}

}  // namespace holvan::editor
