#pragma once

#include <algorithm>
#include <cstddef>

#include "text/cp932.h"

namespace holvan {

/// A string literal as a template argument, so that each literal is converted
/// once.
template <std::size_t N>
struct FixedUtf8 {
  constexpr FixedUtf8(const char (&text)[N]) { std::copy_n(text, N, bytes); }
  constexpr std::string_view view() const { return {bytes, N - 1}; }
  char bytes[N];
};

namespace literals {

/// "話す"_sj: the code page 932 bytes of a UTF-8 source literal, converted on
/// first use and kept for the run.
template <FixedUtf8 Text>
const NarrowText& operator""_sj() {
  static const NarrowText narrow = Utf8ToNarrow(Text.view());
  return narrow;
}

}  // namespace literals
}  // namespace holvan
