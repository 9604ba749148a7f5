#include "ui/quit_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace holvan {
namespace {

// The write end of the pipe, read by the handler; -1 while none is set up.
volatile std::sig_atomic_t write_end = -1;
int read_end = -1;

extern "C" void OnQuitSignal(int) {
  const int saved_errno = errno;
  const int fd = write_end;
  if (fd >= 0) {
    const char byte = 1;
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = saved_errno;
}

}  // namespace

QuitSignals::QuitSignals(std::initializer_list<int> signal_numbers,
                         QObject* parent)
    : QObject(parent) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0,
                   ends) != 0) {
    return;
  }
  read_end = ends[0];
  write_end = ends[1];
  notifier_ = new QSocketNotifier(read_end, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::Drain);

  struct sigaction action = {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int number : signal_numbers) {
    struct sigaction previous = {};
    if (sigaction(number, &action, &previous) == 0) {
      previous_.emplace_back(number, previous);
    }
  }
}

QuitSignals::~QuitSignals() {
  for (const auto& [number, previous] : previous_) {
    sigaction(number, &previous, nullptr);
  }
  const int fd = write_end;
  write_end = -1;
  if (fd >= 0) ::close(fd);
  if (read_end >= 0) ::close(read_end);
  read_end = -1;
}

void QuitSignals::Drain() {
  char bytes[64];
  while (::read(read_end, bytes, sizeof bytes) > 0) {
  }
  emit Received();
}

}  // namespace holvan
