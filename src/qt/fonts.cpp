#include "qt/fonts.h"

#include <fontconfig/fontconfig.h>

#include <QStringList>
#include <memory>

namespace holvan {
namespace {

struct PatternFree {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternFree>;

// The face fontconfig matches for Japanese sans-serif text, alone: Qt then
// opens it at once, where a face named but missing costs a search through
// every installed font before the first frame. None when the match covers no
// Japanese, that is when no installed face does.
const QStringList& Faces() {
  static const QStringList faces = [] {
    const Pattern wanted(
        FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja")));
    FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, wanted.get(), &result));
    FcLangSet* languages = nullptr;
    FcChar8* family = nullptr;
    if (!match ||
        FcPatternGetLangSet(match.get(), FC_LANG, 0, &languages) !=
            FcResultMatch ||
        FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) ==
            FcLangDifferentLang ||
        FcPatternGetString(match.get(), FC_FAMILY, 0, &family) !=
            FcResultMatch) {
      return QStringList();
    }
    return QStringList{QString::fromUtf8(reinterpret_cast<char*>(family))};
  }();
  return faces;
}

}  // namespace

QFont WindowFont(int pixel_size, bool bold) {
  QFont font;
  if (!Faces().isEmpty()) font.setFamilies(Faces());
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

}  // namespace holvan
