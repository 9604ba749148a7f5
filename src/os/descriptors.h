#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <string_view>
#include <utility>

namespace holvan {

/// A file descriptor closed when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) ::close(fd_);
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }

 private:
  int fd_;
};

/// open(2) with O_CLOEXEC, tried again when a signal interrupts it.
int OpenRetrying(const char* path, int flags, mode_t mode = 0);

/// Writes all of bytes, through interruptions and short writes; false (errno
/// set) when a write fails.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace holvan
