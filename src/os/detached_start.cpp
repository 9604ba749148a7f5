#include "os/detached_start.h"

#include <fcntl.h>
#include <glib.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "os/signals_blocked.h"

namespace holvan {
namespace {

// Where programs are looked for when PATH is unset or empty.
constexpr std::string_view kStandardPath = "/usr/local/bin:/usr/bin:/bin";

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// The program that name starts: a name with a slash as it is written, any
// other in the folders of PATH. Only absolute folders are searched, so the
// current folder, which holds the data files, is never one of them.
std::optional<std::string> FindProgram(const std::string& name) {
  if (name.empty()) return std::nullopt;
  if (name.find('/') != std::string::npos) return name;
  const char* set = std::getenv("PATH");
  std::string_view path =
      set != nullptr && *set != '\0' ? std::string_view(set) : kStandardPath;
  while (true) {
    const size_t colon = path.find(':');
    const std::string_view folder = path.substr(0, colon);
    if (folder.starts_with('/')) {
      std::string candidate(folder);
      candidate += '/';
      candidate += name;
      if (IsExecutableFile(candidate)) return candidate;
    }
    if (colon == std::string_view::npos) return std::nullopt;
    path.remove_prefix(colon + 1);
  }
}

// Waits on a thread of its own (which takes no signal) for the end of a
// started program, so that none is left as a zombie. Where no thread can be
// made, the program is left to be collected when Holvan ends.
void CollectWhenItEnds(pid_t pid) {
  const SignalsBlocked blocked;
  try {
    std::thread([pid] {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
  }
}

// Starts argv detached, its program found by FindProgram and started by
// that path; true when it was found and started. posix_spawn starts it
// without copying this process, so a start costs the same however much RAM
// Holvan holds. The program gets a session of its own, so that the terminal's
// Ctrl-C or hang-up that reaches Holvan does not reach it too; SIGXFSZ back
// to its default (Holvan ignores it) and no signal blocked; /dev/null for
// input and output (on a terminal its output would land in the middle of the
// conversation); and no other descriptor of Holvan's.
bool Spawn(gchar** argv) {
  std::optional<std::string> program = FindProgram(argv[0]);
  if (!program) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null",
                                   O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null",
                                   O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null",
                                   O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGXFSZ);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID |
                                            POSIX_SPAWN_SETSIGDEF |
                                            POSIX_SPAWN_SETSIGMASK);
  pid_t pid = 0;
  const bool started = ::posix_spawn(&pid, program->c_str(), &actions,
                                     &attributes, argv, environ) == 0;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (started) CollectWhenItEnds(pid);
  return started;
}

}  // namespace

bool StartDetached(const std::string& command_line) {
  gint argc = 0;
  gchar** argv = nullptr;
  if (!g_shell_parse_argv(command_line.c_str(), &argc, &argv, nullptr)) {
    return false;
  }
  const bool started = Spawn(argv);
  g_strfreev(argv);
  return started;
}

}  // namespace holvan
