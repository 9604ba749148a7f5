#include "store/definition_list.h"

#include <cstdint>

#include "text/cp932.h"
#include "text/literal.h"
#include "text/primitives.h"

namespace holvan {
namespace {

using namespace literals;

constexpr char16_t kFullWidthAsterisk = u'\uFF0A';

/// True when the definition of length characters at 1-based position q of
/// value is a whole definition: bounded by "＊" or the ends of the value.
bool IsWholeDefinition(const WideText& value, int32_t q, int32_t length) {
  const auto after = static_cast<std::size_t>(q - 1 + length);
  const bool starts = q == 1 || value[q - 2] == kFullWidthAsterisk;
  const bool ends = after == value.size() || value[after] == kFullWidthAsterisk;
  return starts && ends;
}

}  // namespace

const NarrowText& DefinitionSeparator() { return "＊"_sj; }

std::vector<NarrowText> SplitDefinitions(std::string_view value) {
  std::vector<NarrowText> definitions;
  if (value.empty()) return definitions;
  const std::u16string_view star(&kFullWidthAsterisk, 1);
  for (;;) {
    const ByteRange at = FindCharacterIn(value, star);
    definitions.emplace_back(value.substr(0, at.begin));
    if (at.length == 0) return definitions;
    value.remove_prefix(at.begin + at.length);
  }
}

NarrowText JoinDefinitions(std::span<const NarrowText> definitions) {
  NarrowText value;
  for (const NarrowText& definition : definitions) {
    if (&definition != definitions.data()) value += DefinitionSeparator();
    value += definition;
  }
  return value;
}

NarrowText WithNewestDefinition(std::string_view value,
                                const NarrowText& definition) {
  const auto newest_before = [&definition](std::string_view rest) {
    return (definition + DefinitionSeparator()).append(rest);
  };
  const int32_t q = WidePos(definition, value);
  if (q == 0) return newest_before(value);
  const WideText wide_value = ToWide(value);
  const WideText wide_definition = ToWide(definition);
  const auto length = static_cast<int32_t>(wide_definition.size());
  if (IsWholeDefinition(wide_value, q, length)) {
    if (q == 1) return NarrowText(value);
    return newest_before(WideDelete(value, q - 1, length + 1));
  }
  // The first occurrence is part of a longer definition; the definition may
  // still be stored on its own further on.
  for (auto at = wide_value.find(wide_definition, q); at != WideText::npos;
       at = wide_value.find(wide_definition, at + 1)) {
    const auto later = static_cast<int32_t>(at + 1);
    if (IsWholeDefinition(wide_value, later, length)) {
      return newest_before(WideDelete(value, later - 1, length + 1));
    }
  }
  return newest_before(value);
}

}  // namespace holvan
