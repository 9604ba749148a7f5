#pragma once

#include <cstddef>

namespace holvan {

/// A range of a code page 932 text in bytes: [begin, begin + length).
struct ByteRange {
  std::size_t begin = 0;
  std::size_t length = 0;
};

/// A range of a text's UTF-16 form (one unit per character) in units: what a
/// front end shows and lets the user select.
struct WideRange {
  std::size_t begin = 0;
  std::size_t length = 0;
};

}  // namespace holvan
