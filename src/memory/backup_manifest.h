#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memory/memory_files.h"

namespace holvan::memory {

/// The file in each backup that marks it as one Holvan made and says what it
/// holds; a folder without it is never taken for a backup.
inline constexpr std::string_view kManifestName = "holvan-backup";

/// A file of a backup as it was copied.
struct BackedUpFile {
  MemoryFile file = MemoryFile::kDictionary;
  uint64_t size = 0;
  /// SHA-256, lower-case hex.
  std::string sha256;
};

/// What a backup's manifest says.
struct Manifest {
  /// When the backup was taken, in seconds since the epoch.
  int64_t taken = 0;
  /// The lines of dic.dat that the dictionary takes, of brain.dat, of res.dat.
  int64_t facts = 0;
  int64_t words = 0;
  int64_t phrases = 0;
  /// In the order of kMemoryFiles.
  std::vector<BackedUpFile> files;

  /// The entry of file; null when the backup lacks it.
  const BackedUpFile* Find(MemoryFile file) const;
};

/// Enters file, holding bytes, in manifest (in place of its entry there)
/// with its size, checksum and what it holds.
void Record(Manifest& manifest, MemoryFile file, std::string_view bytes);

/// The manifest's file: lines of ASCII words, the first "holvan-backup 1",
/// then "taken SECONDS LOCAL-TIME", "facts N", "words N", "phrases N" and a
/// line "file NAME SIZE SHA-256" a file.
std::string ManifestText(const Manifest& manifest);

/// Whether text begins as a manifest does: the mark of Holvan's backups.
bool IsManifestText(std::string_view text);

/// The manifest that text holds; nothing when a line is not as ManifestText
/// writes it.
std::optional<Manifest> ParseManifest(std::string_view text);

/// SHA-256 of bytes, lower-case hex.
std::string Sha256(std::string_view bytes);

/// "2026-12-07 15:30:12": seconds since the epoch in local time.
std::string LocalTimeText(int64_t seconds);

}  // namespace holvan::memory
