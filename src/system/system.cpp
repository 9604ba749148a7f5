#include "system/system.h"

#include <glib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>
#include <string>
#include <vector>

#include "text/cp932.h"
#include "text/random.h"

namespace holvan::system {
namespace {

// In the child before exec: a session of its own, so that the terminal's
// Ctrl-C or hang-up that reaches Holvan does not reach the program too.
void Detach(gpointer) { setsid(); }

// Starts argv detached; true when the program was found and started.
bool Spawn(gchar** argv) {
  GError* error = nullptr;
  // Without DO_NOT_REAP_CHILD, GLib reaps the child itself: no zombie is left.
  // On a terminal the child's output would land in the middle of the
  // conversation, so it goes nowhere.
  const gboolean started = g_spawn_async(
      nullptr, argv, nullptr,
      static_cast<GSpawnFlags>(
          G_SPAWN_SEARCH_PATH | G_SPAWN_STDIN_FROM_DEV_NULL |
          G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
      Detach, nullptr, nullptr, &error);
  if (error != nullptr) g_error_free(error);
  return started;
}

bool SpawnCommandLine(const std::string& utf8_command_line) {
  gint argc = 0;
  gchar** argv = nullptr;
  if (!g_shell_parse_argv(utf8_command_line.c_str(), &argc, &argv, nullptr)) {
    return false;
  }
  const bool started = Spawn(argv);
  g_strfreev(argv);
  return started;
}

// The desktop's own programs for the three accessories of the command menu.
std::vector<const char*> DesktopEquivalents(const std::string& command_line) {
  if (command_line == "winmine.exe") return {"gnome-mines", "kmines"};
  if (command_line == "notepad.exe") {
    return {"gnome-text-editor", "gedit", "kate", "kwrite",
            "mousepad", "pluma", "xed"};
  }
  if (command_line == "calc.exe") {
    return {"gnome-calculator", "kcalc", "galculator", "mate-calc",
            "qalculate-gtk"};
  }
  return {};
}

}  // namespace

void StartProgram(const NarrowText& command_line) {
  const std::string utf8 = NarrowToUtf8(command_line);
  if (SpawnCommandLine(utf8)) return;
  for (const char* program : DesktopEquivalents(utf8)) {
    gchar* path = g_find_program_in_path(program);
    if (path == nullptr) continue;
    std::array<gchar*, 2> argv = {path, nullptr};
    const bool started = Spawn(argv.data());
    g_free(path);
    if (started) return;
  }
}

uint64_t UptimeMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000u +
         static_cast<uint64_t>(now.tv_nsec / 1000000);
}

uint32_t SeedFromClock() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm utc{};
  gmtime_r(&now.tv_sec, &utc);
  return SeedFromTimeOfDay(utc.tm_hour, utc.tm_min, utc.tm_sec,
                           static_cast<int>(now.tv_nsec / 1000000));
}

Moment LocalNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  return Moment{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59),
                static_cast<int>(now.tv_nsec / 1000000)};
}

NarrowText CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    buffer.resize(buffer.size() * 2);
  }
  return NarrowText(buffer.data());
}

}  // namespace holvan::system
