#pragma once

#include "store/data_file.h"

namespace holvan::memory {

/// The files of a memory folder: the data files of the folder Holvan talks
/// in.
using MemoryFile = DataFile;
using holvan::FileName;

inline constexpr const auto& kMemoryFiles = kDataFiles;

}  // namespace holvan::memory
