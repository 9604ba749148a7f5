#include "term/run_loop.h"

#include <unistd.h>

namespace holvan::term {

RunLoop::RunLoop() : loop_(g_main_loop_new(nullptr, FALSE)) {}

RunLoop::~RunLoop() {
  Quit();
  g_main_loop_unref(loop_);
}

void RunLoop::Run(int signal_fd, GUnixFDSourceFunc on_signal,
                  GUnixFDSourceFunc on_input, gpointer run) {
  signal_watch_ = g_unix_fd_add_full(G_PRIORITY_HIGH, signal_fd, G_IO_IN,
                                     on_signal, run, nullptr);
  input_watch_ = g_unix_fd_add(
      STDIN_FILENO, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
      on_input, run);
  g_main_loop_run(loop_);
}

void RunLoop::Quit() {
  RemoveSource(signal_watch_);
  RemoveSource(input_watch_);
  g_main_loop_quit(loop_);
}

void RemoveSource(guint& id) {
  if (id != 0) g_source_remove(id);
  id = 0;
}

}  // namespace holvan::term
