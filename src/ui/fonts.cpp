#include "ui/fonts.h"

#include <QStringList>

namespace holvan {

QFont WindowFont(int pixel_size, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"),
                    QStringLiteral("IPAPGothic"),
                    QStringLiteral("Noto Sans CJK JP")});
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

}  // namespace holvan
