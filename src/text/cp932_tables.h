#pragma once

#include <array>
#include <cstdint>

namespace holvan::cp932 {

/// What a byte is on its own.
enum ByteKind : uint8_t { kInvalid, kSingle, kLead };

/// A pair that is not a character.
constexpr char16_t kNoCode = 0xFFFF;

/// The conversion tables, made from glibc's "CP932" converter when the program
/// is built, so that converting is a loop over the text and nothing at run
/// time depends on a converter being installed.
struct Tables {
  std::array<ByteKind, 256> kind;
  std::array<char16_t, 256> single;
  /// Indexed by lead << 8 | trail; kNoCode where the pair is not a character.
  std::array<char16_t, 65536> pair;
  /// Indexed by UTF-16 unit: the preferred encoding, one byte (< 0x100) or
  /// lead << 8 | trail; 0 where the code page has no such character (U+0000,
  /// the one character encoded as 0, is handled before the lookup).
  std::array<uint16_t, 65536> encode;
  /// Whether a character comes back as the same bytes from
  /// ToNarrow(ToWide()): per byte, and per lead << 8 | trail as two bit sets
  /// (which pairs are characters, which of those change), small enough for
  /// the fastest cache.
  std::array<bool, 256> single_keeps;
  std::array<uint64_t, 1024> pair_is_character;
  std::array<uint64_t, 1024> pair_changes;
};

/// Defined in the generated cp932_tables.cpp.
extern const Tables kTables;

}  // namespace holvan::cp932
