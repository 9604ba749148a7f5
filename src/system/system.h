#pragma once

#include <cstdint>

#include "dates/date_time.h"
#include "text/narrow_text.h"

namespace holvan::system {

/// Starts a program from a command line without a shell: split as a shell
/// would (no expansion), searched in the absolute folders of PATH (in
/// /usr/local/bin, /usr/bin and /bin when PATH is unset or empty; never in
/// the current folder), detached. "winmine.exe",
/// "notepad.exe" and "calc.exe" fall back to the desktop's own game, editor
/// and calculator. Failures are passed over.
void StartProgram(const NarrowText& command_line);

/// Milliseconds since the system started (CLOCK_BOOTTIME).
uint64_t UptimeMilliseconds();

/// Milliseconds since midnight UTC now: the clock's random seed.
uint32_t SeedFromClock();

/// The local clock now.
Moment LocalNow();

/// The current working directory as the system gives it (paths stay the
/// system's bytes; they are converted only to be shown).
NarrowText CurrentDirectory();

}  // namespace holvan::system
