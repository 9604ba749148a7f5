#pragma once

#include <charconv>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "text/narrow_text.h"

namespace holvan {

/// The 32-bit integer written in text (leading spaces, optional sign, decimal
/// digits; or "$" and up to 32 bits of hex), or fallback for anything else.
int32_t ParseIntOr(std::string_view text, int32_t fallback);

/// The number that text writes in decimal digits alone (no sign, space or
/// other character), when Number can hold it.
template <std::integral Number>
std::optional<Number> ParseDigits(std::string_view text) {
  Number value{};
  if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

/// Shortest decimal form of n.
NarrowText IntText(int64_t n);

/// pattern with each "%d" replaced by IntText of the next value.
NarrowText FormatText(std::string_view pattern,
                      std::initializer_list<int32_t> values);

/// n + 1 with 32-bit two's complement wrap-around, for counters that may grow
/// without bound.
inline int32_t WrappingIncrement(int32_t n) {
  return static_cast<int32_t>(static_cast<uint32_t>(n) + 1u);
}

}  // namespace holvan
