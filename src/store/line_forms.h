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

/// The 1-based position of the character that ends a question's topic: the
/// first "は" from the second character on, or a "っ" there followed by
/// "て何", "てな" or "て知"; 0 when none does.
int32_t QuestionTopicEnd(std::string_view question);

}  // namespace holvan
