#include "support/waiting.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

namespace holvan::testing {

bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout) {
  const auto give_up = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::optional<int> WaitForChild(pid_t pid, int options,
                                std::chrono::milliseconds timeout) {
  int status = 0;
  pid_t got = 0;
  const bool over = WaitUntil(
      [&] {
        got = ::waitpid(pid, &status, options | WNOHANG);
        return got != 0 && (got > 0 || errno != EINTR);
      },
      timeout);
  if (over) return got == pid ? std::optional<int>(status) : std::nullopt;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return std::nullopt;
}

int ExitStatus(const std::optional<int>& wait_status) {
  return wait_status && WIFEXITED(*wait_status) ? WEXITSTATUS(*wait_status)
                                                : -1;
}

ssize_t ReadWithin(int fd, char* buffer, std::size_t size,
                   std::chrono::milliseconds timeout) {
  const auto give_up = std::chrono::steady_clock::now() + timeout;
  pollfd ready = {fd, POLLIN, 0};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        give_up - std::chrono::steady_clock::now());
    if (left.count() < 0) return -1;
    const int got = ::poll(&ready, 1, static_cast<int>(left.count()));
    if (got > 0) return ::read(fd, buffer, size);
    if (got == 0 || errno != EINTR) return -1;
  }
}

}  // namespace holvan::testing
