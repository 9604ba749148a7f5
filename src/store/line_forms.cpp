#include "store/line_forms.h"

#include <algorithm>

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
  // Each character by the units that convert to it: no unit converts to
  // more than two bytes, so a run of units converts to a word's bytes only
  // when each converts to its character.
  static const std::u16string wa = UnitsNarrowedTo("は"_sj);
  static const std::u16string small_tsu = UnitsNarrowedTo("っ"_sj);
  static const std::u16string te = UnitsNarrowedTo("て"_sj);
  static const std::u16string after_te[] = {UnitsNarrowedTo("何"_sj),
                                            UnitsNarrowedTo("な"_sj),
                                            UnitsNarrowedTo("知"_sj)};
  const WideText wide = ToWide(question);
  const auto n = static_cast<int32_t>(wide.size());
  // Whether character i, counted from 1, is one of units.
  const auto is = [&](int32_t i, std::u16string_view units) {
    return i <= n && units.find(wide[static_cast<std::size_t>(i) - 1]) !=
                         std::u16string_view::npos;
  };
  for (int32_t i = 2; i <= n; ++i) {
    if (is(i, wa)) return i;
    if (is(i, small_tsu) && is(i + 1, te) &&
        std::ranges::any_of(after_te, [&](const std::u16string& units) {
          return is(i + 2, units);
        })) {
      return i;
    }
  }
  return 0;
}

}  // namespace holvan
