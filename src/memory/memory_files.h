#pragma once

#include <array>
#include <string_view>

namespace holvan::memory {

/// The files of a memory folder.
enum class MemoryFile { kDictionary, kBrain, kPhrases, kProfile, kDiary };

inline constexpr std::array<MemoryFile, 5> kMemoryFiles = {
    MemoryFile::kDictionary, MemoryFile::kBrain, MemoryFile::kPhrases,
    MemoryFile::kProfile, MemoryFile::kDiary};

/// "dic.dat", "brain.dat", "res.dat", "holv.dat" or "diary.dat".
constexpr std::string_view FileName(MemoryFile file) {
  constexpr std::array<std::string_view, 5> kNames = {
      "dic.dat", "brain.dat", "res.dat", "holv.dat", "diary.dat"};
  return kNames[static_cast<std::size_t>(file)];
}

}  // namespace holvan::memory
