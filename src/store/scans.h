#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "text/narrow_text.h"

namespace holvan {

// Lookups by scanning a list of keys from the first entry; the first match
// wins. Indexed lookups give the same answers.

/// Index of the first key equal to key, or -1.
int32_t ScanForEqual(const std::vector<NarrowText>& keys, std::string_view key);

/// Index of the first key whose bytes begin with prefix (BytePos = 1), or -1;
/// an empty prefix begins no key.
int32_t ScanForStartingWith(const std::vector<NarrowText>& keys,
                            std::string_view prefix);

/// Calls visit with the index of every key that occurs in line by characters
/// (WidePos > 0), in list order, until visit returns true.
void ScanForKeysIn(const std::vector<NarrowText>& keys,
                   std::u16string_view line,
                   const std::function<bool(int32_t)>& visit);

}  // namespace holvan
