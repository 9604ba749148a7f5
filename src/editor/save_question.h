#pragma once

#include <vector>

#include "memory/memory_files.h"
#include "text/narrow_text.h"

class QWidget;

namespace holvan::editor {

/// What the user answered to 保存しますか？.
enum class SaveAnswer { kSave, kDiscard, kCancel };

/// Asks 保存しますか？ before the window closes with unsaved edits of files,
/// with the buttons 保存, 保存しない and キャンセル (also Esc).
SaveAnswer AskToSave(QWidget* parent,
                     const std::vector<memory::MemoryFile>& files);

/// Tells that another program changed file since the window read it, so
/// that it was left unsaved while the other files were saved, and asks
/// whether to read it again, make its edits again and save it (object name
/// "reload_question"). Returns true for 読み直して保存, false for 保存しない
/// (also Esc), which keeps the edits unsaved.
bool AskToReload(QWidget* parent, memory::MemoryFile file);

/// Tells which edits of file, read again, could not be made again, as
/// MemoryFolder::Reload returned them.
void TellNotRedone(QWidget* parent, memory::MemoryFile file,
                   const std::vector<NarrowText>& edits);

}  // namespace holvan::editor
