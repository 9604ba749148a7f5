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

// Counts the names tried, so that each try takes another.
uint32_t names_tried = 0;

// Calls make with fresh temporary names of target's save until it fails
// otherwise than for a name taken, at most 100 times; returns what make
// returned last, and the name it was given in name.
template <typename Make>
int WithFreshName(const std::string& target, std::string& name, Make make) {
  const uint64_t stamp = static_cast<uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const uint32_t mix = static_cast<uint32_t>(stamp ^ (stamp >> 32)) +
                         (++names_tried) * 2654435761u;
    name = TemporaryName(target, static_cast<int32_t>(::getpid()),
                         static_cast<int32_t>(mix & 0x7FFFFFFF));
    const int result = make(name);
    if (result >= 0 || errno != EEXIST) return result;
  }
  return -1;
}

// The path through which /proc names the file open as fd.
std::string DescriptorPath(int fd) { return "/proc/self/fd/" + IntText(fd); }

}  // namespace

int CreateTemporary(const std::string& target, mode_t mode, std::string& name) {
  return WithFreshName(target, name, [mode](const std::string& fresh) {
    return OpenRetrying(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW,
                        mode);
  });
}

int CreateUnnamedTemporary(const std::string& folder, mode_t mode) {
  const int fd = OpenRetrying(folder.c_str(), O_WRONLY | O_TMPFILE, mode);
  if (fd < 0) return -1;
  // It is named through /proc later: without /proc it could never be.
  if (::access(DescriptorPath(fd).c_str(), F_OK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool NameTemporary(int fd, const std::string& target, std::string& name) {
  const std::string from = DescriptorPath(fd);
  // linkat never replaces an entry, a planted link included.
  return WithFreshName(target, name, [&from](const std::string& fresh) {
           return ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, fresh.c_str(),
                           AT_SYMLINK_FOLLOW);
         }) == 0;
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
