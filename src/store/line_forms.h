#pragma once

#include <optional>
#include <string_view>

#include "text/narrow_text.h"

namespace holvan {

/// A key and its value cut from one line of "brain.dat" or "dic.dat": views
/// of the line's own bytes.
struct KeyAndValue {
  std::string_view key;
  std::string_view value;
};

/// "＝", between key and value in "brain.dat".
const NarrowText& BrainSeparator();

/// A "brain.dat" line cut at its first "＝"; a line without one is all value
/// with an empty key.
KeyAndValue SplitBrainLine(std::string_view line);

/// A "dic.dat" line cut at its first character that converts to "*";
/// nothing for a line without one, which the Dictionary leaves out.
std::optional<KeyAndValue> SplitDictionaryLine(std::string_view line);

}  // namespace holvan
