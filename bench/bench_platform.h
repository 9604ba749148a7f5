#pragma once

#include <string>
#include <utility>

#include "support/fake_platform.h"

namespace holvan::bench {

/// The system of every benchmark run: the data files in folder, one clock
/// reading, one seed; programs are not started.
inline testing::FakePlatform BenchPlatform(std::string folder) {
  testing::FakePlatform platform;
  platform.folder = std::move(folder);
  platform.uptime_ms = 3723000;
  platform.seed = 20240101;
  platform.now = {2024, 5, 1, 12, 30, 0, 0};
  return platform;
}

}  // namespace holvan::bench
