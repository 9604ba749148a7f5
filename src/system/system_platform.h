#pragma once

#include <cstdint>
#include <optional>

#include "conversation/platform.h"

namespace holvan::system {

/// Readings a run takes instead of the system's (holvan-term's --seed and
/// --now).
struct PlatformOverrides {
  std::optional<uint32_t> start_seed;
  /// The moment every reading of the local clock returns.
  std::optional<Moment> now;
};

/// The system Holvan runs on.
class SystemPlatform : public Platform {
 public:
  explicit SystemPlatform(PlatformOverrides overrides = {})
      : overrides_(overrides) {}

  /// Starts a program from a command line without a shell: split as a shell
  /// would (no expansion), searched in the absolute folders of PATH (in
  /// /usr/local/bin, /usr/bin and /bin when PATH is unset or empty; never in
  /// the current folder), detached. "winmine.exe", "notepad.exe" and
  /// "calc.exe" fall back to the desktop's own game, editor and calculator.
  /// Failures are passed over.
  void StartProgram(const NarrowText& command_line) override;
  /// Milliseconds since the system started (CLOCK_BOOTTIME).
  uint64_t UptimeMilliseconds() override;
  /// Milliseconds since midnight UTC now, unless overridden.
  uint32_t StartSeed() override;
  /// The local clock now, unless overridden.
  Moment LocalNow() override;
  /// The current working folder as the system gives it (paths stay the
  /// system's bytes; they are converted only to be shown).
  NarrowText WorkingFolder() override;

 private:
  PlatformOverrides overrides_;
};

}  // namespace holvan::system
