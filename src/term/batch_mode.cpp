#include "term/batch_mode.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "conversation/companion.h"
#include "term/console.h"
#include "term/line_reader.h"
#include "term/run_event.h"
#include "term/term_view.h"
#include "term/typed_line.h"

namespace holvan::term {
namespace {

class BatchRun {
 public:
  BatchRun(Platform& platform, SignalPipe& signals)
      : signals_(signals), view_(console_), companion_(view_, platform) {}

  int Run() {
    RunEvent(console_, [this] { companion_.Start(); });
    LineReader reader(STDIN_FILENO);
    bool more = true;
    while (more) {
      if (!WaitForInput()) return SaveForSignal();
      more = reader.Fill();
      while (auto line = reader.Next()) {
        if (signals_.Take() != 0) return SaveForSignal();
        Handle(*line);
        if (closed_) return 0;
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
      if (view_.IdleRemarksEnabled()) {
        RunEvent(console_, [this] { companion_.IdleTick(); });
      }
    } else if (line == "/quit") {
      Close();
    } else {
      view_.SetInputText(TypedLine(line));
      RunEvent(console_, [this] { companion_.Talk(); });
      if (companion_.close_requested()) Close();
    }
  }

  // The close; the run ends once it has succeeded.
  bool Close() {
    closed_ = RunEvent(console_, [this] { companion_.Close(); });
    return closed_;
  }

  int SaveForSignal() {
    return RunEvent(console_, [this] { companion_.SaveQuietly(); }) ? 0 : 1;
  }

  SignalPipe& signals_;
  StreamConsole console_;
  TermView view_;
  Companion companion_;
  bool closed_ = false;
};

}  // namespace

int RunBatch(Platform& platform, SignalPipe& signals) {
  return BatchRun(platform, signals).Run();
}

}  // namespace holvan::term
