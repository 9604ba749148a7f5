#pragma once

#include <csignal>
#include <initializer_list>
#include <utility>
#include <vector>

namespace holvan {

/// Turns signals into events of the program's event loop: the handler only
/// writes the signal's number to a pipe whose read end the loop watches
/// (holvan-term with GLib, the window with a socket notifier), so that each
/// signal is handled between events, never inside one. Meanwhile SIGPIPE is
/// caught and dropped: a closed output must not end the program before it
/// saves. The handlers set before come back with the destructor. One instance
/// at a time.
class SignalBridge {
 public:
  /// Catches each of signal_numbers. Where no pipe can be made, catches nothing
  /// and fd() is -1, with errno telling why.
  explicit SignalBridge(std::initializer_list<int> signal_numbers);
  ~SignalBridge();
  SignalBridge(const SignalBridge&) = delete;
  SignalBridge& operator=(const SignalBridge&) = delete;

  /// The end to watch for reading.
  int fd() const { return read_end_; }
  /// The next signal that arrived, or 0 when none is waiting.
  int Take();
  /// Does what sig does by default (SIGTSTP: stop until continued), then
  /// catches it again.
  void RaiseWithDefaultAction(int sig);

 private:
  void Catch(int sig, void (*handler)(int));

  int read_end_ = -1;
  /// What each caught signal did before.
  std::vector<std::pair<int, struct sigaction>> previous_;
};

}  // namespace holvan
