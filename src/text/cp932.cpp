#include "text/cp932.h"

#include <algorithm>
#include <cstdint>

#include "text/cp932_decode.h"

namespace holvan {
namespace {

using cp932::DecodeAt;
using cp932::kLead;
using cp932::kNoCode;
using cp932::kSingle;
using cp932::Tables;

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The bytes of one character, as ToNarrow writes them.
struct Narrowed {
  char bytes[2];
  std::size_t size;
  std::string_view view() const { return {bytes, size}; }
};

constexpr Narrowed kGeta = {{'\x81', '\xAC'}, 2};  // "〓"

// The encoding of a BMP unit that is not a surrogate.
inline Narrowed Encoded(const Tables& t, char16_t u) {
  if (u == 0) return {{'\0'}, 1};
  const uint16_t code = t.encode[u];
  if (code == 0) return kGeta;
  if (code < 0x100) return {{static_cast<char>(code)}, 1};
  return {{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)}, 2};
}

// The character of wide that starts at unit i, as ToNarrow writes it; i
// moves past it.
inline Narrowed NarrowedAt(const Tables& t, std::u16string_view wide,
                           std::size_t& i) {
  const char16_t u = wide[i++];
  if (IsEscapedByte(u)) return {{static_cast<char>(u & 0xFF)}, 1};
  if (u < 0xD800 || u >= 0xE000) return Encoded(t, u);
  // A surrogate pair is one character the code page lacks.
  if (u < 0xDC00 && i < wide.size() && wide[i] >= 0xDC00 && wide[i] < 0xE000) {
    ++i;
  }
  return kGeta;
}

constexpr uint32_t kBadUtf8 = 0xFFFFFFFF;

// Decodes one UTF-8 character at text[i] and advances i; a malformed sequence
// gives kBadUtf8 and advances past its longest valid beginning (at least one
// byte).
uint32_t DecodeUtf8At(std::string_view text, size_t& i) {
  uint8_t b = static_cast<uint8_t>(text[i++]);
  if (b < 0x80) return b;
  int more;
  uint32_t c;
  uint8_t low = 0x80, high = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    more = 1;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    more = 2;
    c = b & 0x0F;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    more = 3;
    c = b & 0x07;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return kBadUtf8;
  }
  for (int k = 0; k < more; ++k) {
    if (i >= text.size()) return kBadUtf8;
    uint8_t next = static_cast<uint8_t>(text[i]);
    if (next < low || next > high) return kBadUtf8;
    low = 0x80;
    high = 0xBF;
    c = c << 6 | (next & 0x3F);
    ++i;
  }
  return c;
}

// Code page 932 to UTF-8; characters that shown rejects, and bytes that are
// not valid code page 932, become U+FFFD.
template <typename Shown>
std::string ToUtf8(std::string_view text, Shown shown) {
  const Tables& t = cp932::kTables;
  std::string out;
  out.reserve(text.size() * 3 / 2);
  size_t i = 0;
  while (i < text.size()) {
    char16_t u = DecodeAt(t, text, i);
    AppendUtf8(out, u != kNoCode && shown(u) ? u : 0xFFFD);
  }
  return out;
}

}  // namespace

WideText ToWide(std::string_view text) {
  WideText wide;
  ToWide(text, wide);
  return wide;
}

void ToWide(std::string_view text, WideText& wide) {
  // At most one unit per byte.
  wide.resize(text.size());
  char16_t* const out = wide.data();
  size_t units = 0;
  size_t i = 0;
  while (i < text.size()) out[units++] = UnitAt(text, i);
  wide.resize(units);
}

NarrowText Recoded(std::string_view text) {
  const Tables& t = cp932::kTables;
  size_t i = 0;
  while (i < text.size()) {
    uint8_t b = static_cast<uint8_t>(text[i]);
    if (t.kind[b] == kSingle) {
      if (!t.single_keeps[b]) return ToNarrow(ToWide(text));
      ++i;
      continue;
    }
    if (t.kind[b] == kLead && i + 1 < text.size()) {
      size_t code =
          static_cast<size_t>(b) << 8 | static_cast<uint8_t>(text[i + 1]);
      if (t.pair_is_character[code / 64] >> (code % 64) & 1) {
        if (t.pair_changes[code / 64] >> (code % 64) & 1) {
          return ToNarrow(ToWide(text));
        }
        i += 2;
        continue;
      }
    }
    // An escaped byte comes back as itself; only bytes from 80 up escape.
    if (b < 0x80) return ToNarrow(ToWide(text));
    ++i;
  }
  return NarrowText(text);
}

ByteRange FindCharacterIn(std::string_view text, std::u16string_view units) {
  const auto find = [&](auto is_wanted) -> ByteRange {
    size_t i = 0;
    while (i < text.size()) {
      const size_t start = i;
      if (is_wanted(UnitAt(text, i))) return {start, i - start};
    }
    return {text.size(), 0};
  };
  // Most callers look for one character.
  if (units.size() == 1) {
    return find([unit = units[0]](char16_t u) { return u == unit; });
  }
  return find([units](char16_t u) {
    return units.find(u) != std::u16string_view::npos;
  });
}

std::size_t SkipCharacters(std::string_view text, std::size_t offset,
                           std::size_t count) {
  const Tables& t = cp932::kTables;
  for (; count > 0 && offset < text.size(); --count) DecodeAt(t, text, offset);
  return std::min(offset, text.size());
}

std::u16string UnitsNarrowedTo(std::string_view bytes) {
  const Tables& t = cp932::kTables;
  std::u16string units;
  for (uint32_t u = 0; u < 0x10000; ++u) {
    const auto unit = static_cast<char16_t>(u);
    std::size_t i = 0;
    if (NarrowedAt(t, std::u16string_view(&unit, 1), i).view() == bytes) {
      units += unit;
    }
  }
  return units;
}

NarrowText ToNarrow(std::u16string_view wide) {
  const Tables& t = cp932::kTables;
  NarrowText out;
  out.reserve(wide.size() * 2);
  for (std::size_t i = 0; i < wide.size();)
    out += NarrowedAt(t, wide, i).view();
  return out;
}

bool NarrowsTo(std::u16string_view wide, std::string_view bytes) {
  const Tables& t = cp932::kTables;
  for (std::size_t i = 0; i < wide.size();) {
    const Narrowed character = NarrowedAt(t, wide, i);
    if (!bytes.starts_with(character.view())) return false;
    bytes.remove_prefix(character.size);
  }
  return bytes.empty();
}

std::size_t UnitCount(std::string_view text) {
  const Tables& t = cp932::kTables;
  std::size_t units = 0;
  for (std::size_t i = 0; i < text.size(); ++units) DecodeAt(t, text, i);
  return units;
}

NarrowText Utf8ToNarrow(std::string_view utf8) {
  const Tables& t = cp932::kTables;
  NarrowText out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    uint32_t c = DecodeUtf8At(utf8, i);
    const bool lacked = c == kBadUtf8 || c >= 0x10000;
    out += (lacked ? kGeta : Encoded(t, static_cast<char16_t>(c))).view();
  }
  return out;
}

bool FitsCodePage932(std::string_view utf8) {
  const Tables& t = cp932::kTables;
  size_t i = 0;
  while (i < utf8.size()) {
    const uint32_t c = DecodeUtf8At(utf8, i);
    if (c == kBadUtf8 || c >= 0x10000 || (c != 0 && t.encode[c] == 0)) {
      return false;
    }
  }
  return true;
}

bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    if (DecodeUtf8At(text, i) == kBadUtf8) return false;
  }
  return true;
}

std::vector<LookAlike> LookAlikesIn(std::string_view utf8) {
  const Tables& t = cp932::kTables;
  std::vector<LookAlike> found;
  size_t i = 0;
  while (i < utf8.size()) {
    const uint32_t c = DecodeUtf8At(utf8, i);
    if (c == 0 || c >= 0x10000 || t.encode[c] == 0) continue;
    const uint16_t code = t.encode[c];
    const LookAlike look_alike{c, code < 0x100 ? t.single[code] : t.pair[code]};
    if (look_alike.stored != c &&
        std::find(found.begin(), found.end(), look_alike) == found.end()) {
      found.push_back(look_alike);
    }
  }
  return found;
}

std::string Utf8Of(char32_t character) {
  std::string utf8;
  AppendUtf8(utf8, character);
  return utf8;
}

std::string NarrowToUtf8(std::string_view text) {
  return ToUtf8(text, [](char16_t) { return true; });
}

std::string NarrowToTerminalUtf8(std::string_view text) {
  return ToUtf8(text, [](char16_t u) {
    return (u >= 0x20 || u == '\t') && (u < 0x7F || u > 0x9F);
  });
}

}  // namespace holvan
