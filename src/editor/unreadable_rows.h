#pragma once

#include <vector>

#include "editor/entry_list.h"
#include "editor/memory_page.h"

class QWidget;

namespace holvan::editor {

class MemoryEdits;

/// Adds to rows, which are in line order, the unreadable lines of file that
/// search finds, each where its line puts it: its text, then "読めない行: "
/// and why, marked unreadable. A search finds them in their whole text.
void AddUnreadableRows(const memory::MemoryFolder& memory,
                       memory::MemoryFile file, const Search& search,
                       std::vector<EntryRow>& rows);

/// Asks for the line of an unreadable row of file as it should be, starting
/// from what it holds, and mends it (MemoryFolder::FixLine).
void MendLine(QWidget* parent, MemoryEdits& edits, memory::MemoryFile file,
              const EntryRow& row);

}  // namespace holvan::editor
