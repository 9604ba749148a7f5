#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/cp932.h"
#include "text/cp932_tables.h"

namespace holvan {

namespace cp932 {

/// Decodes one character at text[i] and advances i past it; kNoCode for a
/// byte that does not start a valid character (i then advances by one).
inline char16_t DecodeAt(const Tables& t, std::string_view text,
                         std::size_t& i) {
  const auto b = static_cast<uint8_t>(text[i]);
  switch (t.kind[b]) {
    case kSingle:
      ++i;
      return t.single[b];
    case kLead:
      if (i + 1 < text.size()) {
        const char16_t u = t.pair[static_cast<std::size_t>(b) << 8 |
                                  static_cast<uint8_t>(text[i + 1])];
        if (u != kNoCode) {
          i += 2;
          return u;
        }
      }
      [[fallthrough]];
    case kInvalid:
      break;
  }
  ++i;
  return kNoCode;
}

}  // namespace cp932

/// The UTF-16 unit of the character that starts at text[at] (EscapedByte for
/// a byte that starts none), as ToWide gives it; at moves past the character.
/// Inline, for loops over many short texts.
inline char16_t UnitAt(std::string_view text, std::size_t& at) {
  const std::size_t start = at;
  const char16_t u = cp932::DecodeAt(cp932::kTables, text, at);
  return u != cp932::kNoCode ? u
                             : EscapedByte(static_cast<uint8_t>(text[start]));
}

}  // namespace holvan
