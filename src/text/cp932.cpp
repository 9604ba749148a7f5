#include "text/cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <vector>

namespace holvan {
namespace {

// What a byte is on its own.
enum ByteKind : uint8_t { kInvalid, kSingle, kLead };

constexpr char16_t kNoCode = 0xFFFF;  // sentinel: no mapping
constexpr char kGetaHigh = '\x81';    // "〓" is 81 AC
constexpr char kGetaLow = '\xAC';

// Lookup tables built once from glibc's "CP932" converter, so that converting
// is a loop over the text without a library call per character.
struct Tables {
  std::array<ByteKind, 256> kind{};
  std::array<char16_t, 256> single{};
  // Indexed by lead << 8 | trail; kNoCode where the pair is not a character.
  std::vector<char16_t> pair = std::vector<char16_t>(65536, kNoCode);
  // Indexed by UTF-16 unit: the preferred encoding, one byte (< 0x100) or lead
  // << 8 | trail; 0 where the code page has no such character (U+0000, the one
  // character encoded as 0, is handled before the lookup).
  std::vector<uint16_t> encode = std::vector<uint16_t>(65536, 0);
  // Whether a character comes back as the same bytes from ToNarrow(ToWide()):
  // per byte, and per lead << 8 | trail as two bit sets (which pairs are
  // characters, which of those change), small enough for the fastest cache.
  std::array<bool, 256> single_keeps{};
  std::array<uint64_t, 1024> pair_is_character{};
  std::array<uint64_t, 1024> pair_changes{};
};

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // One iconv call; returns its errno, or 0 when all input was taken.
  int Run(const char*& in, size_t& in_left, char*& out, size_t& out_left) {
    char* in_ptr = const_cast<char*>(in);
    size_t result = iconv(cd_, &in_ptr, &in_left, &out, &out_left);
    in = in_ptr;
    return result == static_cast<size_t>(-1) ? errno : 0;
  }
  void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t cd_;
};

char16_t Unit(const char* le) {
  return static_cast<char16_t>(static_cast<uint8_t>(le[0]) |
                               static_cast<uint8_t>(le[1]) << 8);
}

void BuildSingles(Converter& decode, Tables& t) {
  for (int b = 0; b < 256; ++b) {
    char in_byte = static_cast<char>(b);
    char out_units[8];
    const char* in = &in_byte;
    size_t in_left = 1;
    char* out = out_units;
    size_t out_left = sizeof out_units;
    decode.Reset();
    int error = decode.Run(in, in_left, out, out_left);
    if (error == 0 && out - out_units == 2) {
      t.kind[b] = kSingle;
      t.single[b] = Unit(out_units);
    } else if (error == EINVAL) {
      t.kind[b] = kLead;
    }
  }
}

// Converts every pair of one lead byte in one call, restarting after each
// pair the converter rejects.
void BuildPairs(Converter& decode, int lead, Tables& t) {
  constexpr int kFirstTrail = 0x40;
  constexpr int kTrails = 0xFD - kFirstTrail;
  char pairs[kTrails * 2];
  for (int i = 0; i < kTrails; ++i) {
    pairs[2 * i] = static_cast<char>(lead);
    pairs[2 * i + 1] = static_cast<char>(kFirstTrail + i);
  }
  char units[kTrails * 2];
  const char* in = pairs;
  size_t in_left = sizeof pairs;
  while (in_left > 0) {
    char* out = units;
    size_t out_left = sizeof units;
    const char* start = in;
    decode.Reset();
    int error = decode.Run(in, in_left, out, out_left);
    // Each accepted pair gives one unit; anything else is not one character.
    if ((in - start) != (out - units)) return;
    for (const char* p = start; p < in; p += 2) {
      size_t index = static_cast<size_t>(p - start);
      uint16_t code =
          static_cast<uint16_t>(lead << 8 | static_cast<uint8_t>(p[1]));
      t.pair[code] = Unit(units + index);
    }
    if (error == 0) break;
    if (error != EILSEQ && error != EINVAL) return;
    in += 2;
    in_left = in_left >= 2 ? in_left - 2 : 0;
  }
}

// Asks the converter for every unit at once (each followed by a zero unit as
// separator, which no encoding contains), so the preferred encoding and the
// converter's one-way mappings (U+301C, U+00A5, ...) come out as it gives them.
void BuildEncode(Tables& t) {
  Converter encode("CP932//IGNORE", "UTF-16LE");
  if (!encode.ok()) return;
  std::vector<char> in_units;
  in_units.reserve(65536 * 4);
  for (uint32_t u = 1; u < 65536; ++u) {
    if (u >= 0xD800 && u < 0xE000) continue;
    in_units.insert(in_units.end(), {static_cast<char>(u & 0xFF),
                                     static_cast<char>(u >> 8), 0, 0});
  }
  std::vector<char> bytes(in_units.size());
  const char* in = in_units.data();
  size_t in_left = in_units.size();
  char* out = bytes.data();
  size_t out_left = bytes.size();
  while (in_left > 0) {
    size_t before = in_left;
    int error = encode.Run(in, in_left, out, out_left);
    if (error == 0 || in_left == before || error != EILSEQ) break;
  }
  uint32_t u = 1;
  const char* p = bytes.data();
  const char* end = out;
  while (p < end && u < 65536) {
    const char* piece = p;
    while (p < end && *p != 0) ++p;
    size_t length = static_cast<size_t>(p - piece);
    if (length == 1) {
      t.encode[u] = static_cast<uint8_t>(piece[0]);
    } else if (length == 2) {
      t.encode[u] = static_cast<uint16_t>(static_cast<uint8_t>(piece[0]) << 8 |
                                          static_cast<uint8_t>(piece[1]));
    }
    ++p;
    ++u;
    if (u == 0xD800) u = 0xE000;
  }
}

// A character the converter decodes but would not encode keeps the first
// encoding that decodes to it, so that it still round-trips.
void FillRoundTrips(Tables& t) {
  for (int b = 1; b < 256; ++b) {
    if (t.kind[b] == kSingle && t.encode[t.single[b]] == 0) {
      t.encode[t.single[b]] = static_cast<uint16_t>(b);
    }
  }
  for (uint32_t code = 0; code < 65536; ++code) {
    char16_t u = t.pair[code];
    if (u != kNoCode && u != 0 && t.encode[u] == 0) {
      t.encode[u] = static_cast<uint16_t>(code);
    }
  }
}

void MarkKeptBytes(Tables& t) {
  for (int b = 0; b < 256; ++b) {
    t.single_keeps[b] = t.kind[b] == kSingle &&
                        (t.single[b] == 0 || t.encode[t.single[b]] == b);
  }
  for (uint32_t code = 0; code < 65536; ++code) {
    char16_t u = t.pair[code];
    if (u != kNoCode) {
      t.pair_is_character[code / 64] |= uint64_t{1} << (code % 64);
      if (u == 0 || t.encode[u] != code) {
        t.pair_changes[code / 64] |= uint64_t{1} << (code % 64);
      }
    }
  }
}

std::unique_ptr<Tables> BuildTables() {
  auto t = std::make_unique<Tables>();
  Converter decode("UTF-16LE", "CP932");
  if (!decode.ok()) {
    // Without the converter only ASCII is known; other bytes stay escaped.
    for (int b = 0; b < 128; ++b) {
      t->kind[b] = kSingle;
      t->single[b] = static_cast<char16_t>(b);
      t->encode[b] = static_cast<uint16_t>(b);
    }
    MarkKeptBytes(*t);
    return t;
  }
  BuildSingles(decode, *t);
  for (int lead = 0; lead < 256; ++lead) {
    if (t->kind[lead] == kLead) BuildPairs(decode, lead, *t);
  }
  BuildEncode(*t);
  FillRoundTrips(*t);
  MarkKeptBytes(*t);
  return t;
}

const Tables& GetTables() {
  static const std::unique_ptr<Tables> tables = BuildTables();
  return *tables;
}

// Decodes one character at text[i]; advances i. Returns kNoCode for a byte
// that does not start a valid character (i then advances by one).
inline char16_t DecodeAt(const Tables& t, std::string_view text, size_t& i) {
  uint8_t b = static_cast<uint8_t>(text[i]);
  switch (t.kind[b]) {
    case kSingle:
      ++i;
      return t.single[b];
    case kLead:
      if (i + 1 < text.size()) {
        char16_t u = t.pair[static_cast<size_t>(b) << 8 |
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

inline void AppendGeta(NarrowText& out) {
  out += kGetaHigh;
  out += kGetaLow;
}

// Appends the encoding of a BMP unit that is not a surrogate.
inline void AppendEncoded(const Tables& t, NarrowText& out, char16_t u) {
  if (u == 0) {
    out += '\0';
    return;
  }
  uint16_t code = t.encode[u];
  if (code == 0) {
    AppendGeta(out);
  } else if (code < 0x100) {
    out += static_cast<char>(code);
  } else {
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
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

}  // namespace

WideText ToWide(std::string_view text) {
  WideText wide;
  ToWide(text, wide);
  return wide;
}

void ToWide(std::string_view text, WideText& wide) {
  const Tables& t = GetTables();
  wide.clear();
  wide.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    size_t start = i;
    char16_t u = DecodeAt(t, text, i);
    wide += u != kNoCode ? u : EscapedByte(static_cast<uint8_t>(text[start]));
  }
}

NarrowText Recoded(std::string_view text) {
  const Tables& t = GetTables();
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

CharacterAt FindCharacterIn(std::string_view text, std::u16string_view units) {
  const Tables& t = GetTables();
  size_t i = 0;
  while (i < text.size()) {
    size_t start = i;
    char16_t u = DecodeAt(t, text, i);
    if (u == kNoCode) u = EscapedByte(static_cast<uint8_t>(text[start]));
    if (units.size() == 1 ? u == units[0]
                          : units.find(u) != std::u16string_view::npos) {
      return {start, i - start};
    }
  }
  return {text.size(), 0};
}

std::u16string UnitsNarrowedTo(std::string_view bytes) {
  const Tables& t = GetTables();
  std::u16string units;
  NarrowText narrow;
  for (uint32_t u = 0; u < 0x10000; ++u) {
    const auto unit = static_cast<char16_t>(u);
    narrow.clear();
    if (IsEscapedByte(unit)) {
      narrow += static_cast<char>(unit & 0xFF);
    } else if (unit >= 0xD800 && unit < 0xE000) {
      AppendGeta(narrow);
    } else {
      AppendEncoded(t, narrow, unit);
    }
    if (narrow == bytes) units += unit;
  }
  return units;
}

NarrowText ToNarrow(std::u16string_view wide) {
  const Tables& t = GetTables();
  NarrowText out;
  out.reserve(wide.size() * 2);
  for (size_t i = 0; i < wide.size(); ++i) {
    char16_t u = wide[i];
    if (u >= 0xD800 && u < 0xE000) {
      if (IsEscapedByte(u)) {
        out += static_cast<char>(u & 0xFF);
        continue;
      }
      // A surrogate pair is one character the code page lacks.
      if (u < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
          wide[i + 1] < 0xE000) {
        ++i;
      }
      AppendGeta(out);
      continue;
    }
    AppendEncoded(t, out, u);
  }
  return out;
}

NarrowText Utf8ToNarrow(std::string_view utf8) {
  const Tables& t = GetTables();
  NarrowText out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    uint32_t c = DecodeUtf8At(utf8, i);
    if (c == kBadUtf8 || c >= 0x10000) {
      AppendGeta(out);
    } else {
      AppendEncoded(t, out, static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string NarrowToUtf8(std::string_view text) {
  const Tables& t = GetTables();
  std::string out;
  out.reserve(text.size() * 3 / 2);
  size_t i = 0;
  while (i < text.size()) {
    char16_t u = DecodeAt(t, text, i);
    AppendUtf8(out, u != kNoCode ? u : 0xFFFD);
  }
  return out;
}

}  // namespace holvan
