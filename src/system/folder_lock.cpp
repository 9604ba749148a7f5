#include "system/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "text/literal.h"

namespace holvan::system {

using namespace holvan::literals;

FolderLock FolderLock::TryLock(const NarrowText& folder) {
  const int fd =
      ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return FolderLock(-1, State::kUnavailable);
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return FolderLock(fd, State::kHeld);
  const State state = errno == EWOULDBLOCK ? State::kBusy : State::kUnavailable;
  ::close(fd);
  return FolderLock(-1, state);
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), state_(other.state_) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    state_ = other.state_;
  }
  return *this;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

NarrowText FolderBusyMessage() {
  return "Holvan はこのフォルダですでに起動しています"_sj;
}

}  // namespace holvan::system
