#include "term/signal_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace holvan::term {
namespace {

int write_fd = -1;

void Forward(int sig) {
  const int saved_errno = errno;
  const unsigned char byte = static_cast<unsigned char>(sig);
  // A full pipe drops the signal; plenty are already waiting then.
  [[maybe_unused]] ssize_t ignored = write(write_fd, &byte, 1);
  errno = saved_errno;
}

void Drop(int) {}

void Install(int sig, void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(sig, &action, nullptr);
}

}  // namespace

SignalPipe::SignalPipe(std::initializer_list<int> signals) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::perror("holvan-term: pipe");
    std::exit(1);
  }
  read_fd_ = fds[0];
  write_fd = fds[1];
  Install(SIGPIPE, Drop);
  for (int sig : signals) Install(sig, Forward);
}

SignalPipe::~SignalPipe() {
  close(read_fd_);
  close(write_fd);
  write_fd = -1;
}

int SignalPipe::Take() {
  unsigned char byte = 0;
  return read(read_fd_, &byte, 1) == 1 ? byte : 0;
}

void SignalPipe::Catch(int sig) { Install(sig, Forward); }

}  // namespace holvan::term
