#pragma once

#include <cstdint>
#include <vector>

#include "conversation/platform.h"

namespace holvan::testing {

/// The system as a test, benchmark or fuzz target sets it: fixed readings,
/// and programs recorded instead of started.
class FakePlatform : public Platform {
 public:
  void StartProgram(const NarrowText& command_line) override {
    started.push_back(command_line);
  }
  uint64_t UptimeMilliseconds() override { return uptime_ms; }
  uint32_t StartSeed() override { return seed; }
  Moment LocalNow() override { return now; }
  NarrowText WorkingFolder() override { return folder; }

  std::vector<NarrowText> started;
  uint64_t uptime_ms = 0;
  uint32_t seed = 0;
  Moment now;
  NarrowText folder = ".";
};

}  // namespace holvan::testing
