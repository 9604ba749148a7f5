#pragma once

#include <cstdio>
#include <cstdlib>

/// Stops the fuzzer with a crash report when an invariant does not hold.
#define HOLVAN_CHECK(condition)                                             \
  do {                                                                      \
    if (!(condition)) {                                                     \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
                   #condition);                                             \
      std::abort();                                                         \
    }                                                                       \
  } while (false)
