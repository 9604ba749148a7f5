#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace holvan {

/// The data files of a working folder, which the memory's tools list in this
/// order.
enum class DataFile { kDictionary, kBrain, kPhrases, kProfile, kDiary };

inline constexpr std::array<DataFile, 5> kDataFiles = {
    DataFile::kDictionary, DataFile::kBrain, DataFile::kPhrases,
    DataFile::kProfile, DataFile::kDiary};

/// "dic.dat", "brain.dat", "res.dat", "holv.dat" or "diary.dat".
constexpr std::string_view FileName(DataFile file) {
  constexpr std::array<std::string_view, kDataFiles.size()> kNames = {
      "dic.dat", "brain.dat", "res.dat", "holv.dat", "diary.dat"};
  return kNames[static_cast<std::size_t>(file)];
}

}  // namespace holvan
