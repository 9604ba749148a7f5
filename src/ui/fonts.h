#pragma once

#include <QFont>

namespace holvan {

/// The window's Japanese face at a pixel size: "ＭＳ Ｐゴシック" where it is
/// installed, else IPAPGothic, else Noto Sans CJK JP. The explicit list keeps
/// kanji from falling back to a Chinese face.
QFont WindowFont(int pixel_size, bool bold = false);

}  // namespace holvan
