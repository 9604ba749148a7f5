#pragma once

#include <cstdint>

#include "dates/date_time.h"
#include "text/narrow_text.h"

namespace holvan {

/// What the companion needs from the system it runs on. One real
/// implementation, system::SystemPlatform; tests fake it.
class Platform {
 public:
  virtual ~Platform() = default;

  /// Starts a program from a command line; failures are passed over.
  virtual void StartProgram(const NarrowText& command_line) = 0;
  /// Milliseconds since the system started.
  virtual uint64_t UptimeMilliseconds() = 0;
  /// The random generator's seed at start-up (normally the UTC time of day in
  /// milliseconds).
  virtual uint32_t StartSeed() = 0;
  /// The local clock now.
  virtual Moment LocalNow() = 0;
  /// The folder of the data files, asked anew each time.
  virtual NarrowText WorkingFolder() = 0;
};

}  // namespace holvan
