#include "text/numbers.h"

#include <charconv>

namespace holvan {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

int32_t ParseIntOr(std::string_view text, int32_t fallback) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i == text.size()) return fallback;

  if (text[i] == '$') {
    ++i;
    if (i == text.size()) return fallback;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
      int digit = HexDigit(text[i]);
      if (digit < 0) return fallback;
      value = value * 16 + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return fallback;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
  }

  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return fallback;
  // The magnitude may reach 2^31 for a negative value.
  const uint64_t limit = negative ? 2147483648u : 2147483647u;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return fallback;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return fallback;
  }
  return static_cast<int32_t>(negative ? 0 - static_cast<uint32_t>(value)
                                       : static_cast<uint32_t>(value));
}

NarrowText IntText(int64_t n) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
  return NarrowText(buffer, result.ptr);
}

NarrowText FormatText(std::string_view pattern,
                      std::initializer_list<int32_t> values) {
  NarrowText out;
  out.reserve(pattern.size() + values.size() * 11);
  auto next = values.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 'd' &&
        next != values.end()) {
      out += IntText(*next++);
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace holvan
