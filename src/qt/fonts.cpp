#include "qt/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace holvan {
namespace {

// The first face of the list that is installed, alone: Qt then opens it at
// once, where a face named first but missing costs a search through every
// installed font before the first frame. All of them when none is.
const QStringList& Faces() {
  static const QStringList faces = [] {
    const QStringList preferred = {QStringLiteral("ＭＳ Ｐゴシック"),
                                   QStringLiteral("IPAPGothic"),
                                   QStringLiteral("Noto Sans CJK JP")};
    for (const QString& face : preferred) {
      if (QFontDatabase::hasFamily(face)) return QStringList{face};
    }
    return preferred;
  }();
  return faces;
}

}  // namespace

QFont WindowFont(int pixel_size, bool bold) {
  QFont font;
  font.setFamilies(Faces());
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

}  // namespace holvan
