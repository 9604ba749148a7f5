#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "text/narrow_text.h"
#include "text/ranges.h"

namespace holvan {

/// The unit that stands for a byte that does not start a valid character
/// (always 80 to FF hexadecimal): U+DC00 + byte, so U+DC80 to U+DCFF.
constexpr char16_t EscapedByte(unsigned char byte) {
  return static_cast<char16_t>(0xDC00 + byte);
}
/// True for a unit that stands for such a byte (U+DC80 to U+DCFF).
constexpr bool IsEscapedByte(char16_t unit) {
  return unit >= 0xDC80 && unit <= 0xDCFF;
}

/// Code page 932 to UTF-16: one unit per character; a byte that does not start
/// a valid character becomes EscapedByte(byte).
WideText ToWide(std::string_view text);
/// The same into wide, reusing its storage.
void ToWide(std::string_view text, WideText& wide);

/// UTF-16 to code page 932: each unit to its preferred encoding; an escaped
/// byte (U+DC80 to U+DCFF) gives the byte back; a character the code page lacks
/// (a surrogate pair counting as one, any other lone surrogate) becomes "〓"
/// (81 AC).
NarrowText ToNarrow(std::u16string_view wide);
/// ToNarrow(wide) == bytes, without making the copy.
bool NarrowsTo(std::u16string_view wide, std::string_view bytes);
/// ToWide(text).size(), without making the copy.
std::size_t UnitCount(std::string_view text);

/// ToNarrow(ToWide(text)) without the UTF-16 detour: the same bytes unless
/// a character has a preferred encoding other than the one it has.
NarrowText Recoded(std::string_view text);

/// The bytes of the first character of text whose UTF-16 unit (EscapedByte
/// for a byte that starts none) is one of units; length 0 when there is none.
ByteRange FindCharacterIn(std::string_view text, std::u16string_view units);

/// The byte offset in text count characters after offset, which starts a
/// character; text.size() when fewer remain. Maps the character positions of
/// ToWide(text) to bytes, so that text can be cut without converting it back.
std::size_t SkipCharacters(std::string_view text, std::size_t offset,
                           std::size_t count);

/// Every unit that ToNarrow turns, on its own, into exactly bytes.
std::u16string UnitsNarrowedTo(std::string_view bytes);

/// UTF-8 to code page 932 for text arriving from outside (typed, pasted,
/// UTF-8 files); bytes that are not UTF-8 count as characters the code page
/// lacks.
NarrowText Utf8ToNarrow(std::string_view utf8);

/// True when utf8 is well-formed UTF-8 whose every character code page 932
/// holds, so that Utf8ToNarrow loses nothing of it.
bool FitsCodePage932(std::string_view utf8);

/// Whether text is well-formed UTF-8.
bool IsUtf8(std::string_view text);

/// A character that Utf8ToNarrow stores as another one that looks like it,
/// because the code page lacks it: U+301C (〜) as U+FF5E (～), U+2212 (−) as
/// U+FF0D (－), U+00A5 (¥) as U+005C.
struct LookAlike {
  char32_t given = 0;
  char16_t stored = 0;
  bool operator==(const LookAlike&) const = default;
};

/// The characters of utf8 that Utf8ToNarrow turns into look-alikes, each
/// once, in the order they first come.
std::vector<LookAlike> LookAlikesIn(std::string_view utf8);

/// The UTF-8 bytes of a character.
std::string Utf8Of(char32_t character);

/// Code page 932 to UTF-8 for display; bytes that are not valid code page 932
/// become U+FFFD.
std::string NarrowToUtf8(std::string_view text);

/// NarrowToUtf8 for a terminal: control characters (C0 but the tab, DEL, C1)
/// become U+FFFD too, so that no stored or typed text can drive the terminal
/// with escape sequences.
std::string NarrowToTerminalUtf8(std::string_view text);

}  // namespace holvan
