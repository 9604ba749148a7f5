#include "term/batch_mode.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "conversation/companion.h"
#include "term/console.h"
#include "term/line_reader.h"
#include "term/run_event.h"
#include "term/term_front_end.h"
#include "term/typed_line.h"

namespace holvan::term {
namespace {

class BatchRun {
 public:
  BatchRun(const Options& options, SignalPipe& signals)
      : signals_(signals),
        front_end_(options, console_),
        companion_(front_end_) {
    front_end_.Attach(companion_);
  }

  int Run() {
    RunEvent(console_, [this] { companion_.FormCreate(); });
    LineReader reader(STDIN_FILENO);
    bool more = true;
    while (more) {
      if (!WaitForInput()) return SaveForSignal();
      more = reader.Fill();
      while (auto line = reader.Next()) {
        if (signals_.Take() != 0) return SaveForSignal();
        Handle(*line);
        if (front_end_.closed()) return 0;
      }
    }
    return Close() ? 0 : 1;
  }

 private:
  // Waits until stdin has something; false when a signal came first.
  bool WaitForInput() {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {signals_.fd(), POLLIN, 0}};
    while (true) {
      if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return true;  // the read then reports the failure as the end
      }
      if (fds[1].revents != 0 && signals_.Take() != 0) return false;
      if (fds[0].revents != 0) return true;
    }
  }

  void Handle(const std::string& line) {
    if (line == "/tick") {
      if (front_end_.IdleRemarksEnabled()) {
        RunEvent(console_, [this] { companion_.Timer1Timer(); });
      }
    } else if (line == "/quit") {
      Close();
    } else {
      front_end_.SetInputText(TypedLine(line));
      RunEvent(console_, [this] { companion_.Button1Click(); });
    }
  }

  bool Close() {
    return RunEvent(console_, [this] { front_end_.RequestClose(); });
  }

  int SaveForSignal() {
    return RunEvent(console_, [this] { companion_.SaveWithoutMessage(); }) ? 0
                                                                           : 1;
  }

  SignalPipe& signals_;
  StreamConsole console_;
  TermFrontEnd front_end_;
  Companion companion_;
};

}  // namespace

int RunBatch(const Options& options, SignalPipe& signals) {
  return BatchRun(options, signals).Run();
}

}  // namespace holvan::term
