#pragma once

#include <array>
#include <cstdint>

#include "text/narrow_text.h"

namespace holvan {

/// The user's profile: the fields that "holv.dat" keeps on its first seven
/// lines, in this order.
struct Profile {
  NarrowText user_name;
  int32_t visit_count = 0;
  int32_t mood = 0;
  int32_t spare_count1 = 0;
  int32_t spare_count2 = 0;
  int32_t spare_count3 = 0;
  int32_t angry_exit_count = 0;
};

/// The numbers that follow the name, one a line from line 2 on.
inline constexpr std::array<int32_t Profile::*, 6> kProfileNumbers = {
    &Profile::visit_count,  &Profile::mood,         &Profile::spare_count1,
    &Profile::spare_count2, &Profile::spare_count3, &Profile::angry_exit_count};

/// The lines of "holv.dat" that hold the profile.
inline constexpr int32_t kProfileLines =
    1 + static_cast<int32_t>(kProfileNumbers.size());

/// What line i (0-based, from 1) is read as when it holds no integer: 0 for
/// the visit count, 1 for the counters after it.
constexpr int32_t ProfileNumberDefault(int32_t i) { return i == 1 ? 0 : 1; }

}  // namespace holvan
