#include "memory/backup_manifest.h"

#include <glib.h>

#include <algorithm>
#include <charconv>
#include <ctime>

#include "store/line_forms.h"
#include "text/line_breaks.h"

namespace holvan::memory {
namespace {

constexpr std::string_view kHeader = "holvan-backup 1\n";
constexpr std::size_t kSha256Digits = 64;

/// The lines Holvan reads from bytes; with facts_only, those the dictionary
/// takes.
int64_t CountLines(std::string_view bytes, bool facts_only) {
  int64_t count = 0;
  ForEachLine(UpToZero(bytes), [&](std::string_view line, bool) {
    if (!facts_only || SplitDictionaryLine(line)) ++count;
  });
  return count;
}

/// Takes the next line of text, without its LF; nothing at the end or for a
/// last line without one.
std::optional<std::string_view> NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end + 1);
  return line;
}

/// Takes the word up to the next space (or the end) from line.
std::string_view NextWord(std::string_view& line) {
  const std::size_t end = std::min(line.find(' '), line.size());
  const std::string_view word = line.substr(0, end);
  line.remove_prefix(std::min(end + 1, line.size()));
  return word;
}

/// The number that word is, digits only (with a "-" first when signed).
template <typename Number>
std::optional<Number> ParseNumber(std::string_view word) {
  Number value{};
  const auto [end, error] =
      std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || word[0] == '+' || error != std::errc() ||
      end != word.data() + word.size()) {
    return std::nullopt;
  }
  return value;
}

/// "label N" as a count.
std::optional<int64_t> Count(std::string_view& text, std::string_view label) {
  std::optional<std::string_view> line = NextLine(text);
  if (!line || NextWord(*line) != label) return std::nullopt;
  const std::optional<int64_t> count = ParseNumber<int64_t>(*line);
  if (!count || *count < 0) return std::nullopt;
  return count;
}

/// "file NAME SIZE SHA-256".
std::optional<BackedUpFile> FileEntry(std::string_view line) {
  if (NextWord(line) != "file") return std::nullopt;
  const std::string_view name = NextWord(line);
  const auto file = std::find_if(
      kMemoryFiles.begin(), kMemoryFiles.end(),
      [&](MemoryFile candidate) { return FileName(candidate) == name; });
  const std::optional<uint64_t> size = ParseNumber<uint64_t>(NextWord(line));
  if (file == kMemoryFiles.end() || !size || line.size() != kSha256Digits ||
      line.find_first_not_of("0123456789abcdef") != std::string_view::npos) {
    return std::nullopt;
  }
  return BackedUpFile{*file, *size, std::string(line)};
}

}  // namespace

const BackedUpFile* Manifest::Find(MemoryFile file) const {
  for (const BackedUpFile& entry : files) {
    if (entry.file == file) return &entry;
  }
  return nullptr;
}

void Record(Manifest& manifest, MemoryFile file, std::string_view bytes) {
  std::erase_if(manifest.files,
                [&](const BackedUpFile& entry) { return entry.file == file; });
  const auto after = std::find_if(
      manifest.files.begin(), manifest.files.end(),
      [&](const BackedUpFile& entry) { return entry.file > file; });
  manifest.files.insert(after, {file, bytes.size(), Sha256(bytes)});
  switch (file) {
    case MemoryFile::kDictionary:
      manifest.facts = CountLines(bytes, true);
      break;
    case MemoryFile::kBrain:
      manifest.words = CountLines(bytes, false);
      break;
    case MemoryFile::kPhrases:
      manifest.phrases = CountLines(bytes, false);
      break;
    default:
      break;
  }
}

std::string ManifestText(const Manifest& manifest) {
  std::string text(kHeader);
  text += "taken " + std::to_string(manifest.taken) + " " +
          LocalTimeText(manifest.taken) + "\n";
  text += "facts " + std::to_string(manifest.facts) + "\n";
  text += "words " + std::to_string(manifest.words) + "\n";
  text += "phrases " + std::to_string(manifest.phrases) + "\n";
  for (const BackedUpFile& entry : manifest.files) {
    text += "file " + std::string(FileName(entry.file)) + " " +
            std::to_string(entry.size) + " " + entry.sha256 + "\n";
  }
  return text;
}

bool IsManifestText(std::string_view text) { return text.starts_with(kHeader); }

std::optional<Manifest> ParseManifest(std::string_view text) {
  if (!IsManifestText(text)) return std::nullopt;
  text.remove_prefix(kHeader.size());
  std::optional<std::string_view> line = NextLine(text);
  if (!line || NextWord(*line) != "taken") return std::nullopt;
  const std::optional<int64_t> taken = ParseNumber<int64_t>(NextWord(*line));
  const std::optional<int64_t> facts = Count(text, "facts");
  const std::optional<int64_t> words = Count(text, "words");
  const std::optional<int64_t> phrases = Count(text, "phrases");
  if (!taken || !facts || !words || !phrases) return std::nullopt;
  Manifest manifest{*taken, *facts, *words, *phrases, {}};
  while (!text.empty()) {
    line = NextLine(text);
    const std::optional<BackedUpFile> entry =
        line ? FileEntry(*line) : std::nullopt;
    if (!entry || (!manifest.files.empty() &&
                   manifest.files.back().file >= entry->file)) {
      return std::nullopt;
    }
    manifest.files.push_back(*entry);
  }
  return manifest;
}

std::string Sha256(std::string_view bytes) {
  gchar* hex = g_compute_checksum_for_data(
      G_CHECKSUM_SHA256, reinterpret_cast<const guchar*>(bytes.data()),
      bytes.size());
  std::string sha256(hex);
  g_free(hex);
  return sha256;
}

std::string LocalTimeText(int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm local;
  char text[64];
  if (::localtime_r(&time, &local) == nullptr ||
      std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local) == 0) {
    return "?";
  }
  return text;
}

}  // namespace holvan::memory
