#pragma once

#include <cstddef>

namespace holvan {

/// The entries a store makes room for when it loads n, so that the entries
/// added while the program runs do not move the loaded ones for a long while.
constexpr std::size_t GrowthRoom(std::size_t n) { return n + n / 4 + 1024; }

}  // namespace holvan
