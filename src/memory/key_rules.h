#pragma once

#include <optional>
#include <string_view>

#include "text/narrow_text.h"

namespace holvan::memory {

// What keys and texts of the memory files may hold. Each returns the
// Japanese reason a text is refused, or nothing.

/// A line break or a zero byte: a text is one line.
std::optional<NarrowText> NotOneLine(std::string_view text);

/// A dictionary key that no question can ask for: empty, or cut short by
/// the first "は" from its second character on, or by "っ" before "て何",
/// "てな" or "て知".
std::optional<NarrowText> Unaskable(std::string_view key);

/// A dictionary key that a line cannot hold: not one line, empty, holding
/// "*", or unaskable.
std::optional<NarrowText> BadFactKey(std::string_view key);

/// A Brain key that a line cannot hold: not one line, empty, or holding "＝"
/// (the line would split there on the next load).
std::optional<NarrowText> BadBrainKey(std::string_view key);

/// A definition that a Brain value cannot hold: not one line, empty, or
/// holding "＊", which separates definitions.
std::optional<NarrowText> BadDefinition(std::string_view definition);

}  // namespace holvan::memory
