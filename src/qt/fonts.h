#pragma once

#include <QFont>

namespace holvan {

/// The windows' Japanese face at a pixel size: the face fontconfig matches
/// for Japanese sans-serif text, whatever its name; Qt's default face where
/// no installed face covers Japanese. Naming a Japanese face keeps kanji from
/// falling back to a Chinese one.
QFont WindowFont(int pixel_size, bool bold = false);

}  // namespace holvan
