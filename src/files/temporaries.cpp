#include "files/temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <optional>

#include "os/descriptors.h"
#include "text/numbers.h"

namespace holvan {
namespace {

// A temporary's name is the target's, this mark, the process id of the
// save, "-" and a number, both in shortest decimal form.
constexpr std::string_view kTemporaryMark = ".tmp";

std::string TemporaryName(const std::string& target, int32_t pid,
                          int32_t number) {
  return target + std::string(kTemporaryMark) + IntText(pid) + "-" +
         IntText(number);
}

// The value of digits in shortest decimal form up to INT32_MAX, or nothing.
std::optional<int32_t> ShortestDecimal(std::string_view digits) {
  if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
  return ParseDigits<int32_t>(digits);
}

// The process id in name when it is a temporary of target_name's save.
std::optional<int32_t> TemporaryOwner(std::string_view name,
                                      std::string_view target_name) {
  if (target_name.empty() || !name.starts_with(target_name)) {
    return std::nullopt;
  }
  name.remove_prefix(target_name.size());
  if (!name.starts_with(kTemporaryMark)) return std::nullopt;
  name.remove_prefix(kTemporaryMark.size());
  const size_t dash = name.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const std::optional<int32_t> pid = ShortestDecimal(name.substr(0, dash));
  if (!pid || *pid == 0 || !ShortestDecimal(name.substr(dash + 1))) {
    return std::nullopt;
  }
  return pid;
}

// Whether the process that named a temporary with pid may still be saving.
// This process has not saved yet, so a name with its own id is stale too.
bool StillRunning(int32_t pid) {
  return pid != ::getpid() && (::kill(pid, 0) == 0 || errno == EPERM);
}

}  // namespace

int CreateTemporary(const std::string& target, mode_t mode, std::string& name) {
  static uint32_t counter = 0;
  uint64_t stamp = static_cast<uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    uint32_t mix = static_cast<uint32_t>(stamp ^ (stamp >> 32)) +
                   (++counter) * 2654435761u;
    name = TemporaryName(target, static_cast<int32_t>(::getpid()),
                         static_cast<int32_t>(mix & 0x7FFFFFFF));
    int fd = OpenRetrying(name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool NamesEndedProcess(std::string_view digits) {
  const std::optional<int32_t> pid = ShortestDecimal(digits);
  return pid && *pid != 0 && !StillRunning(*pid);
}

void RemoveStaleTemporaries(const NarrowText& folder,
                            std::span<const std::string_view> targets) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const int dir_fd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    for (std::string_view target : targets) {
      const std::optional<int32_t> pid = TemporaryOwner(name, target);
      if (!pid || StillRunning(*pid)) continue;
      struct stat st;
      if (::fstatat(dir_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISREG(st.st_mode)) {
        ::unlinkat(dir_fd, entry->d_name, 0);
      }
      break;
    }
  }
  ::closedir(dir);
}

}  // namespace holvan
