#include "editor/typed_text.h"

#include "memory/user_text.h"

namespace holvan::editor {

NarrowText Typed(const QString& text) {
  return memory::FromUser(text.toStdString());
}

}  // namespace holvan::editor
