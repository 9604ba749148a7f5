#include "store/line_forms.h"

#include "text/cp932.h"
#include "text/literal.h"

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
  const ByteRange star = FindCharacterIn(line, Asterisks());
  if (star.length == 0) return std::nullopt;
  return KeyAndValue{line.substr(0, star.begin),
                     line.substr(star.begin + star.length)};
}

}  // namespace holvan
