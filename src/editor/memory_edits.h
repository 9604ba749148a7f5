#pragma once

#include <functional>

#include "memory/memory_folder.h"

namespace holvan::editor {

/// What the pages of the window ask of it.
class MemoryEdits {
 public:
  /// Runs edit on the memory; a failure shows its box and, since an edit
  /// that fails changes nothing, leaves the memory as it was. The window then
  /// shows the memory afresh. Returns whether the edit ran to its end.
  virtual bool Edit(const std::function<void(memory::MemoryFolder&)>& edit) = 0;
  /// What a page holds typed but not yet applied has changed: the window
  /// shows afresh whether there is work to save.
  virtual void TypedChanged() = 0;

 protected:
  ~MemoryEdits() = default;
};

}  // namespace holvan::editor
