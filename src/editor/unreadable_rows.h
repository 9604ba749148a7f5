#pragma once

#include <string_view>

#include "editor/entry_list.h"
#include "editor/memory_page.h"

class QWidget;

namespace holvan::editor {

class MemoryEdits;

/// The row of an unreadable line: its text, then "読めない行: " and why,
/// marked unreadable.
EntryRow UnreadableRow(int32_t line, std::string_view text, NarrowText reason);

/// Asks for the line of an unreadable row of file as it should be, starting
/// from what it holds, and mends it (MemoryFolder::FixLine).
void MendLine(QWidget* parent, MemoryEdits& edits, memory::MemoryFile file,
              const EntryRow& row);

}  // namespace holvan::editor
