#pragma once

#include <vector>

#include "memory/memory_files.h"

class QWidget;

namespace holvan::editor {

/// What the user answered to 保存しますか？.
enum class SaveAnswer { kSave, kDiscard, kCancel };

/// Asks 保存しますか？ before the window closes with unsaved edits of files,
/// with the buttons 保存, 保存しない and キャンセル (also Esc).
SaveAnswer AskToSave(QWidget* parent,
                     const std::vector<memory::MemoryFile>& files);

}  // namespace holvan::editor
