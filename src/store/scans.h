#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "store/stored_lines.h"
#include "store/stored_pairs.h"

namespace holvan {

// Lookups by scanning keys or lines from the first; the first match wins.
// Indexed lookups give the same answers.

/// Index of the first key equal to key, or -1.
int32_t ScanForEqual(const StoredPairs& pairs, std::string_view key);
/// Index of the first line equal to line, or -1.
int32_t ScanForEqual(const StoredLines& lines, std::string_view line);

/// Index of the first key whose bytes begin with prefix (BytePos = 1), or -1;
/// an empty prefix begins no key.
int32_t ScanForStartingWith(const StoredPairs& pairs, std::string_view prefix);

/// Calls visit with the index of every key that occurs in line by characters
/// (WidePos > 0), in list order, until visit returns true.
void ScanForKeysIn(const StoredPairs& pairs, std::u16string_view line,
                   const std::function<bool(int32_t)>& visit);

}  // namespace holvan
