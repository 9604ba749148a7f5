#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace holvan::testing {

/// The first seed of the program's generator whose next draws, each
/// Random::Below(bound) with the given bounds in order, give the wanted
/// values: SeedGiving({{10, 8}, {3, 1}}). Fails the test, giving 0, when no
/// seed below 2^24 does.
uint32_t SeedGiving(
    std::initializer_list<std::pair<int32_t, int32_t>> bound_and_wanted);

}  // namespace holvan::testing
