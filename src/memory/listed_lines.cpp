#include "memory/listed_lines.h"

#include <algorithm>

#include "memory/memory_folder.h"
#include "store/line_forms.h"
#include "text/cp932.h"
#include "text/cp932_decode.h"

namespace holvan::memory {

std::vector<std::string> EncodingsOf(char16_t unit) {
  std::vector<std::string> encodings;
  const auto try_bytes = [&](std::string bytes) {
    std::size_t at = 0;
    if (UnitAt(bytes, at) == unit && at == bytes.size()) {
      encodings.push_back(std::move(bytes));
    }
  };
  // A character is one byte, or a lead byte (81-9F, E0-FC) and a trail byte.
  for (int first = 0; first < 0x100; ++first) {
    try_bytes(std::string(1, static_cast<char>(first)));
    if ((first < 0x81 || first > 0x9F) && first < 0xE0) continue;
    for (int second = 0; second < 0x100; ++second) {
      try_bytes({static_cast<char>(first), static_cast<char>(second)});
    }
  }
  return encodings;
}

FirstCharacter::FirstCharacter(std::string_view key) : any_(key.empty()) {
  if (any_) return;
  std::size_t at = 0;
  encodings_ = EncodingsOf(UnitAt(key, at));
}

bool FirstCharacter::MayStart(std::string_view text) const {
  return any_ || std::any_of(encodings_.begin(), encodings_.end(),
                             [text](const std::string& encoding) {
                               return text.starts_with(encoding);
                             });
}

TextFinder::TextFinder(std::string_view pattern) : pattern_(ToWide(pattern)) {
  if (!pattern_.empty()) firsts_ = EncodingsOf(pattern_[0]);
}

bool TextFinder::MayBeIn(std::string_view text) const {
  if (pattern_.empty()) return true;
  // A character takes at least one byte.
  if (text.size() < pattern_.size()) return false;
  return std::any_of(firsts_.begin(), firsts_.end(),
                     [text](const std::string& first) {
                       return text.find(first) != std::string_view::npos;
                     });
}

bool TextFinder::In(std::string_view text) {
  if (!MayBeIn(text)) return false;
  if (pattern_.empty()) return true;
  ToWide(text, text_);
  return text_.find(pattern_) != WideText::npos;
}

bool Listed(MemoryFile file, std::string_view line, TextFinder& finder) {
  if (!finder.MayBeIn(line)) return false;
  switch (file) {
    case MemoryFile::kDictionary:
      if (const std::optional<KeyAndValue> pair = SplitDictionaryLine(line)) {
        return finder.In(pair->key) || finder.In(pair->value);
      }
      return !line.empty() && finder.In(line);
    case MemoryFile::kBrain: {
      if (UnreadableReason(file, line)) return finder.In(line);
      const KeyAndValue pair = SplitBrainLine(line);
      return finder.In(pair.key) || finder.In(pair.value);
    }
    default:
      return finder.In(line);
  }
}

}  // namespace holvan::memory
