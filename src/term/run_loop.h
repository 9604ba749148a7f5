#pragma once

#include <glib-unix.h>
#include <glib.h>

namespace holvan::term {

/// GLib's main loop for one run, watching the signal bridge's pipe and
/// standard input; other sources (the idle-remark timer) join it on the
/// default context. A signal that arrives with input is handled first.
class RunLoop {
 public:
  RunLoop();
  ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  /// Until Quit: calls on_signal with run when signal_fd can be read, and
  /// on_input with run when standard input can be read, has hung up or
  /// failed.
  void Run(int signal_fd, GUnixFDSourceFunc on_signal,
           GUnixFDSourceFunc on_input, gpointer run);
  /// Stops watching; Run returns once the handler that called this has.
  void Quit();

 private:
  GMainLoop* loop_;
  guint signal_watch_ = 0;
  guint input_watch_ = 0;
};

/// Removes the GLib source id names, if any, and sets id to 0.
void RemoveSource(guint& id);

}  // namespace holvan::term
