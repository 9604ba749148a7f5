#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "memory/memory_files.h"
#include "text/narrow_text.h"

namespace holvan::memory {

/// Every byte sequence that reads as the one character unit (ToWide): its
/// encodings, and a lone byte for an escaped byte.
std::vector<std::string> EncodingsOf(char16_t unit);

/// Whether text may start with a character of the same unit as the first
/// of key (SameCharacters): true for an empty key, false for most lines
/// with another first character, found without converting them.
class FirstCharacter {
 public:
  explicit FirstCharacter(std::string_view key);
  bool MayStart(std::string_view text) const;

 private:
  bool any_;
  std::vector<std::string> encodings_;
};

/// Finds a code page 932 text in others by characters (WidePos), converting
/// the pattern once and each text into the same buffer, so that a search
/// through a million lines costs no allocation per line; a text without the
/// bytes of the pattern's first character, in any of its encodings, is
/// passed over unconverted. One per thread.
class TextFinder {
 public:
  explicit TextFinder(std::string_view pattern);

  /// Whether the pattern is empty or text holds it.
  bool In(std::string_view text);
  /// False when text cannot hold the pattern.
  bool MayBeIn(std::string_view text) const;

 private:
  WideText pattern_;
  /// Every byte sequence that reads as the pattern's first character.
  std::vector<std::string> firsts_;
  WideText text_;
};

/// Whether the lists show the line of file for a search: a fact of
/// "dic.dat" whose key or text holds it, or an unreadable line of
/// "dic.dat" or "brain.dat" (see UnreadableReason) that holds it in its whole
/// text; a word of "brain.dat" whose key or definitions hold it; any line of
/// "res.dat" that holds it. An empty line of "dic.dat" is never shown.
bool Listed(MemoryFile file, std::string_view line, TextFinder& finder);

}  // namespace holvan::memory
