#include "editor/unreadable_rows.h"

#include <algorithm>

#include "editor/entry_dialog.h"
#include "editor/memory_edits.h"
#include "editor/typed_text.h"
#include "qt/shown_text.h"
#include "text/literal.h"

namespace holvan::editor {

using namespace holvan::literals;

void AddUnreadableRows(const memory::MemoryFolder& memory,
                       memory::MemoryFile file, const Search& search,
                       std::vector<EntryRow>& rows) {
  if (!search) return;
  const auto read = static_cast<std::ptrdiff_t>(rows.size());
  for (memory::UnreadableLine& line : memory.UnreadableLines(file, *search)) {
    rows.push_back({line.line,
                    {std::move(line.text), "読めない行: "_sj + line.reason},
                    true});
  }
  std::inplace_merge(
      rows.begin(), rows.begin() + read, rows.end(),
      [](const EntryRow& a, const EntryRow& b) { return a.line < b.line; });
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
