#pragma once

#include <cstdint>

namespace holvan {

/// Whether bytes could be held in RAM at all: fewer than the machine's RAM
/// and swap together, and than the process's limits on its address space and
/// data. Reading a file larger than that is refused before any allocation is
/// tried, so the answer never depends on overcommitting.
bool FitsInRam(std::uint64_t bytes);

}  // namespace holvan
