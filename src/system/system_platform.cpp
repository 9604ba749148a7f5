#include "system/system_platform.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <string>
#include <vector>

#include "os/detached_start.h"
#include "random/random.h"
#include "text/cp932.h"

namespace holvan::system {
namespace {

// The desktop's own programs for the three accessories of the command menu.
std::vector<const char*> DesktopEquivalents(const std::string& command_line) {
  if (command_line == "winmine.exe") return {"gnome-mines", "kmines"};
  if (command_line == "notepad.exe") {
    return {"gnome-text-editor", "gedit", "kate", "kwrite",
            "mousepad",          "pluma", "xed"};
  }
  if (command_line == "calc.exe") {
    return {"gnome-calculator", "kcalc", "galculator", "mate-calc",
            "qalculate-gtk"};
  }
  return {};
}

// The real-time clock now, broken down by gmtime_r or localtime_r. A leap
// second reads as the 59th.
Moment ClockNow(tm* (*break_down)(const time_t*, tm*)) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm time{};
  break_down(&now.tv_sec, &time);
  return Moment{time.tm_year + 1900,
                time.tm_mon + 1,
                time.tm_mday,
                time.tm_hour,
                time.tm_min,
                std::min(time.tm_sec, 59),
                static_cast<int>(now.tv_nsec / 1000000)};
}

}  // namespace

void SystemPlatform::StartProgram(const NarrowText& command_line) {
  const std::string utf8 = NarrowToUtf8(command_line);
  if (StartDetached(utf8)) return;
  for (const char* program : DesktopEquivalents(utf8)) {
    if (StartDetached(program)) return;
  }
}

uint64_t SystemPlatform::UptimeMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000u +
         static_cast<uint64_t>(now.tv_nsec / 1000000);
}

uint32_t SystemPlatform::StartSeed() {
  if (overrides_.start_seed) return *overrides_.start_seed;
  const Moment utc = ClockNow(gmtime_r);
  return SeedFromTimeOfDay(utc.hour, utc.minute, utc.second, utc.millisecond);
}

Moment SystemPlatform::LocalNow() {
  if (overrides_.now) return *overrides_.now;
  return ClockNow(localtime_r);
}

NarrowText SystemPlatform::WorkingFolder() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    buffer.resize(buffer.size() * 2);
  }
  return NarrowText(buffer.data());
}

}  // namespace holvan::system
