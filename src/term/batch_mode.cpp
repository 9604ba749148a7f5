#include "term/batch_mode.h"

#include <unistd.h>

#include <functional>

#include "conversation/companion.h"
#include "conversation/turn.h"
#include "term/console.h"
#include "term/line_reader.h"
#include "term/run_event.h"
#include "term/run_loop.h"
#include "term/term_view.h"
#include "term/typed_line.h"

namespace holvan::term {
namespace {

class BatchRun {
 public:
  BatchRun(Platform& platform, SignalBridge& signals)
      : signals_(signals),
        view_(console_),
        companion_(view_, platform),
        reader_(STDIN_FILENO) {}

  int Run() {
    RunEvent(console_, [this] { companion_.Start(); });
    loop_.Run(signals_.fd(), &BatchRun::OnSignal, &BatchRun::OnInput, this);
    return status_;
  }

 private:
  static gboolean OnSignal(gint, GIOCondition, gpointer run) {
    auto* self = static_cast<BatchRun*>(run);
    if (self->signals_.Take() != 0) self->Finish(self->SaveForSignal());
    return G_SOURCE_CONTINUE;
  }

  // A read that fails is taken for the end of input.
  static gboolean OnInput(gint, GIOCondition, gpointer run) {
    static_cast<BatchRun*>(run)->TakeInput();
    return G_SOURCE_CONTINUE;
  }

  void TakeInput() {
    const bool more = reader_.Fill();
    while (auto line = reader_.Next()) {
      // A signal during the last turn ends the run before the next.
      if (signals_.Take() != 0) return Finish(SaveForSignal());
      Handle(*line);
      if (closed_) return Finish(0);
    }
    if (!more) Finish(Close() ? 0 : 1);
  }

  void Handle(const std::string& line) {
    if (line == "/tick") {
      if (view_.IdleRemarksEnabled()) {
        RunEvent(console_, [this] { companion_.IdleTick(); });
      }
    } else if (line == "/quit") {
      Close();
    } else {
      const TurnRun run =
          RunTurn(companion_, TypedLine(line),
                  std::bind_front(&RunEvent, std::ref(console_)),
                  [this] { companion_.Close(); });
      closed_ = run.closed;
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

  void Finish(int status) {
    status_ = status;
    loop_.Quit();
  }

  SignalBridge& signals_;
  StreamConsole console_;
  TermView view_;
  Companion companion_;
  LineReader reader_;
  RunLoop loop_;
  bool closed_ = false;
  int status_ = 0;
};

}  // namespace

int RunBatch(Platform& platform, SignalBridge& signals) {
  return BatchRun(platform, signals).Run();
}

}  // namespace holvan::term
