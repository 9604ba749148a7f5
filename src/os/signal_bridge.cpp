#include "os/signal_bridge.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace holvan {
namespace {

// The pipe's write end for the handler; -1 while no bridge is set up.
volatile std::sig_atomic_t write_end = -1;

extern "C" void ForwardSignal(int sig) {
  const int saved_errno = errno;
  const int fd = write_end;
  if (fd >= 0) {
    const auto byte = static_cast<unsigned char>(sig);
    // A full pipe drops the signal; plenty are waiting then.
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = saved_errno;
}

// A handler, not SIG_IGN, so that programs started later get SIGPIPE back.
extern "C" void DropSignal(int) {}

bool SetHandler(int sig, void (*handler)(int), struct sigaction* previous) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return ::sigaction(sig, &action, previous) == 0;
}

}  // namespace

SignalBridge::SignalBridge(std::initializer_list<int> signal_numbers) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
  read_end_ = ends[0];
  write_end = ends[1];
  Catch(SIGPIPE, DropSignal);
  for (const int sig : signal_numbers) Catch(sig, ForwardSignal);
}

SignalBridge::~SignalBridge() {
  for (const auto& [sig, previous] : previous_) {
    ::sigaction(sig, &previous, nullptr);
  }
  if (read_end_ < 0) return;
  const int fd = write_end;
  write_end = -1;
  ::close(fd);
  ::close(read_end_);
}

int SignalBridge::Take() {
  unsigned char byte = 0;
  return ::read(read_end_, &byte, 1) == 1 ? byte : 0;
}

void SignalBridge::RaiseWithDefaultAction(int sig) {
  SetHandler(sig, SIG_DFL, nullptr);
  ::raise(sig);
  SetHandler(sig, ForwardSignal, nullptr);
}

void SignalBridge::Catch(int sig, void (*handler)(int)) {
  struct sigaction previous = {};
  if (SetHandler(sig, handler, &previous))
    previous_.emplace_back(sig, previous);
}

}  // namespace holvan
