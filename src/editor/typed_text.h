#pragma once

#include <QString>

#include "text/narrow_text.h"

namespace holvan::editor {

/// A text typed into the window, as code page 932; raises when it holds a
/// character the code page lacks and has nothing like, rather than store
/// another one. Characters stored as look-alikes (〜 as ～) are told in a box
/// first.
NarrowText Typed(const QString& text);

}  // namespace holvan::editor
