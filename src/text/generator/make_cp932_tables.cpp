// Writes the code page 932 conversion tables as a C++ source file, from this
// machine's glibc "CP932" converter. Run by the build; it fails, and so does
// the build, when the machine has no such converter.
//
//   make_cp932_tables OUTPUT.cpp
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "text/cp932_tables.h"

namespace {

using holvan::cp932::kInvalid;
using holvan::cp932::kLead;
using holvan::cp932::kNoCode;
using holvan::cp932::kSingle;
using holvan::cp932::Tables;

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
bool BuildEncode(Tables& t) {
  Converter encode("CP932//IGNORE", "UTF-16LE");
  if (!encode.ok()) return false;
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
  return true;
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

// Empty tables: every byte invalid, no pair a character, nothing encodable.
std::unique_ptr<Tables> EmptyTables() {
  auto t = std::make_unique<Tables>();
  t->kind.fill(kInvalid);
  t->single.fill(0);
  t->pair.fill(kNoCode);
  t->encode.fill(0);
  t->single_keeps.fill(false);
  t->pair_is_character.fill(0);
  t->pair_changes.fill(0);
  return t;
}

// A converter that answers at all but not as CP932 would give tables that
// garble every text: "あ" (82 A0) and "＝" (81 81) must come out right.
bool LooksLikeCp932(const Tables& t) {
  return t.kind['A'] == kSingle && t.single['A'] == u'A' &&
         t.pair[0x82A0] == u'\u3042' && t.encode[0xFF1D] == 0x8181;
}

template <typename Value>
void WriteArray(std::ostream& out, const char* name, const Value& values) {
  out << "    // " << name << "\n    {";
  for (std::size_t i = 0; i < values.size(); ++i) {
    out << (i % 16 == 0 ? "\n        " : " ") << "0x" << std::hex
        << static_cast<uint64_t>(values[i]) << std::dec << ",";
  }
  out << "\n    },\n";
}

bool Write(const Tables& t, const std::string& path) {
  const std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << "// Made by make_cp932_tables from glibc's \"CP932\" converter; do "
           "not edit.\n"
           "#include \"text/cp932_tables.h\"\n\n"
           "namespace holvan::cp932 {\n\n"
           "const Tables kTables = {\n    // kind\n    {";
    for (int b = 0; b < 256; ++b) {
      out << (b % 8 == 0 ? "\n        " : " ")
          << (t.kind[b] == kSingle ? "kSingle,"
              : t.kind[b] == kLead ? "kLead,"
                                   : "kInvalid,");
    }
    out << "\n    },\n";
    WriteArray(out, "single", t.single);
    WriteArray(out, "pair", t.pair);
    WriteArray(out, "encode", t.encode);
    WriteArray(out, "single_keeps", t.single_keeps);
    WriteArray(out, "pair_is_character", t.pair_is_character);
    WriteArray(out, "pair_changes", t.pair_changes);
    out << "};\n\n}  // namespace holvan::cp932\n";
    out.close();
    if (!out) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_cp932_tables OUTPUT.cpp\n");
    return 2;
  }
  std::unique_ptr<Tables> t = EmptyTables();
  Converter decode("UTF-16LE", "CP932");
  if (!decode.ok()) {
    std::fprintf(stderr,
                 "make_cp932_tables: this machine's iconv has no \"CP932\" "
                 "converter (glibc's gconv modules are missing), so Holvan's "
                 "code page 932 tables cannot be made. Build on a machine "
                 "with the full glibc (Debian: libc6 with its gconv "
                 "modules).\n");
    return 1;
  }
  BuildSingles(decode, *t);
  for (int lead = 0; lead < 256; ++lead) {
    if (t->kind[lead] == kLead) BuildPairs(decode, lead, *t);
  }
  if (!BuildEncode(*t)) {
    std::fprintf(stderr,
                 "make_cp932_tables: iconv cannot convert UTF-16LE to "
                 "\"CP932\" on this machine.\n");
    return 1;
  }
  FillRoundTrips(*t);
  MarkKeptBytes(*t);
  if (!LooksLikeCp932(*t)) {
    std::fprintf(stderr,
                 "make_cp932_tables: iconv's \"CP932\" converter on this "
                 "machine does not convert as code page 932 does.\n");
    return 1;
  }
  if (!Write(*t, argv[1])) {
    std::fprintf(stderr, "make_cp932_tables: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
