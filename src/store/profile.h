#pragma once

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

}  // namespace holvan
