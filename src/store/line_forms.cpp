#include "store/line_forms.h"

#include "text/cp932.h"
#include "text/literal.h"
#include "text/primitives.h"

namespace holvan {
namespace {

using namespace literals;

constexpr char16_t kFullWidthEquals = u'\uFF1D';

// The units that split a dictionary line: those that convert to the one
// byte "*".
const std::u16string& Asterisks() {
  static const std::u16string units = UnitsNarrowedTo("*");
  return units;
}

// True when the byte "*" is always a character of its own and the only form
// of one that converts to "*": the first such byte in a line is then where
// it splits, found without walking the line's characters.
bool AsteriskStandsAlone() {
  static const bool alone = [] {
    if (Asterisks() != u"*") return false;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
      if (ToWide(NarrowText{static_cast<char>(lead), '*'}).back() != u'*') {
        return false;
      }
    }
    return true;
  }();
  return alone;
}

// The first character of line that converts to "*"; length 0 when none.
ByteRange FindAsterisk(std::string_view line) {
  if (!AsteriskStandsAlone()) return FindCharacterIn(line, Asterisks());
  const std::size_t at = line.find('*');
  return at == std::string_view::npos ? ByteRange{line.size(), 0}
                                      : ByteRange{at, 1};
}

}  // namespace

const NarrowText& BrainSeparator() { return "＝"_sj; }

KeyAndValue SplitBrainLine(std::string_view line) {
  const ByteRange equals =
      FindCharacterIn(line, std::u16string_view(&kFullWidthEquals, 1));
  if (equals.length == 0) return {{}, line};
  return {line.substr(0, equals.begin),
          line.substr(equals.begin + equals.length)};
}

std::optional<KeyAndValue> SplitDictionaryLine(std::string_view line) {
  const ByteRange star = FindAsterisk(line);
  if (star.length == 0) return std::nullopt;
  return KeyAndValue{line.substr(0, star.begin),
                     line.substr(star.begin + star.length)};
}

int32_t QuestionTopicEnd(std::string_view question) {
  const WideText wide = ToWide(question);
  const auto n = static_cast<int32_t>(wide.size());
  for (int32_t i = 2; i <= n; ++i) {
    if (SliceEquals(wide, i, "は"_sj)) return i;
    if (SliceEquals(wide, i, "っ"_sj) &&
        (SliceEquals(wide, i + 1, "て何"_sj) ||
         SliceEquals(wide, i + 1, "てな"_sj) ||
         SliceEquals(wide, i + 1, "て知"_sj))) {
      return i;
    }
  }
  return 0;
}

}  // namespace holvan
