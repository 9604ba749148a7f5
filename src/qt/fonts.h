#pragma once

#include <QFont>

namespace holvan {

/// The window's Japanese face at a pixel size: "ＭＳ Ｐゴシック" where it is
/// installed, else IPAPGothic, else Noto Sans CJK JP. Naming a Japanese face
/// keeps kanji from falling back to a Chinese one.
QFont WindowFont(int pixel_size, bool bold = false);

}  // namespace holvan
