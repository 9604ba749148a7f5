#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "text/narrow_text.h"

namespace holvan {

// A Brain value holds the definitions of its key, newest first, joined by
// "＊" with none at either end.

/// "＊", between the definitions of a Brain value.
const NarrowText& DefinitionSeparator();

/// The definitions of a value, newest first, cut at every "＊"; none for the
/// empty value.
std::vector<NarrowText> SplitDefinitions(std::string_view value);

/// The definitions joined by "＊".
NarrowText JoinDefinitions(std::span<const NarrowText> definitions);

/// The value with definition as its newest definition, held once: put in
/// front, or moved there when the value holds it as a whole definition.
NarrowText WithNewestDefinition(std::string_view value,
                                const NarrowText& definition);

}  // namespace holvan
