#pragma once

#include <initializer_list>

namespace holvan::term {

/// Catches signals and hands them to the event loop as bytes on a pipe, so
/// that each is handled between events, never inside one. SIGPIPE is caught
/// and dropped: a closed output must not end the run before it saves. One
/// instance per process.
class SignalPipe {
 public:
  explicit SignalPipe(std::initializer_list<int> signals);
  ~SignalPipe();
  SignalPipe(const SignalPipe&) = delete;
  SignalPipe& operator=(const SignalPipe&) = delete;

  /// The end to poll for reading.
  int fd() const { return read_fd_; }
  /// The next caught signal, or 0 when none is waiting.
  int Take();
  /// Catches sig again after it was given back to its default action.
  void Catch(int sig);

 private:
  int read_fd_ = -1;
};

}  // namespace holvan::term
