#include "term/interactive_mode.h"

#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Readline's headers need <cstdio> (above) first.
#include <readline/history.h>
#include <readline/readline.h>

#include "conversation/companion.h"
#include "term/command_words.h"
#include "term/idle_timer.h"
#include "term/readline_console.h"
#include "term/run_event.h"
#include "term/term_view.h"
#include "term/typed_line.h"
#include "term/version_text.h"
#include "text/cp932.h"

namespace holvan::term {
namespace {

// Readline counts columns and steps over characters by the locale's
// character set; Japanese needs a UTF-8 one even where the environment names
// none. Readline sets the character set again from the environment each time
// it starts a line, so this runs after that too.
void KeepUtf8CharacterSet() {
  if (std::string_view(nl_langinfo(CODESET)) != "UTF-8") {
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
}

// In the C and POSIX locales Readline takes eight-bit input for Meta keys
// and shows it as octal escapes; here typed and shown bytes are text (UTF-8)
// whatever the locale. Readline sets these from the locale when it starts,
// so they are set after that.
void TakeEightBitInputAsText() {
  rl_variable_bind("input-meta", "on");
  rl_variable_bind("convert-meta", "off");
  rl_variable_bind("output-meta", "on");
}

class InteractiveRun {
 public:
  InteractiveRun(Platform& platform, SignalPipe& signals)
      : signals_(signals),
        console_(isatty(STDOUT_FILENO) == 1),
        view_(console_),
        companion_(view_, platform) {
    view_.OnIdleRemarksRestart(
        [this] { timer_.Start(IdleTimer::Clock::now()); });
    current_ = this;
  }
  ~InteractiveRun() { current_ = nullptr; }
  InteractiveRun(const InteractiveRun&) = delete;
  InteractiveRun& operator=(const InteractiveRun&) = delete;

  int Run() {
    rl_readline_name = "holvan";
    rl_catch_signals = 0;
    rl_catch_sigwinch = 0;
    rl_change_environment = 0;
    rl_pre_input_hook = &InteractiveRun::OnPreInput;
    rl_startup_hook = &InteractiveRun::OnLineStart;
    rl_attempted_completion_function = &InteractiveRun::Complete;
    rl_initialize();
    TakeEightBitInputAsText();
    KeepUtf8CharacterSet();

    timer_.Start(IdleTimer::Clock::now());
    view_.SetLook(ConversationLook());
    RunEvent(console_, [this] { companion_.Start(); });
    rl_callback_handler_install(Prompt().c_str(), &InteractiveRun::OnLine);
    console_.SetPromptShown(true);
    while (!done_) WaitAndDispatch();
    return status_;
  }

 private:
  static void OnLine(char* line) { current_->HandleLine(line); }

  static int OnLineStart() {
    KeepUtf8CharacterSet();
    return 0;
  }

  // Tab completes Holvan's command words, never file names, and adds no
  // space: the diary's commands count only when typed alone.
  static char** Complete(const char* text, int, int) {
    rl_attempted_completion_over = 1;
    rl_completion_append_character = '\0';
    return rl_completion_matches(text, &InteractiveRun::NextCompletion);
  }

  static char* NextCompletion(const char* text, int index) {
    std::vector<std::string>& words = current_->completions_;
    if (index == 0) {
      words = CommandWordsStartingWith(
          text, current_->companion_.state().mode == Mode::kDiary);
    }
    if (static_cast<std::size_t>(index) >= words.size()) return nullptr;
    // Readline frees each match.
    return strdup(words[index].c_str());
  }

  // A prompt after the core set the input line starts with that text.
  static int OnPreInput() {
    const NarrowText input = current_->view_.InputText();
    if (!input.empty()) {
      rl_insert_text(NarrowToUtf8(input).c_str());
      rl_redisplay();
    }
    return 0;
  }

  std::string Prompt() { return NarrowToUtf8(view_.talk_caption()) + "> "; }

  void WaitAndDispatch() {
    const bool ticking = view_.IdleRemarksEnabled();
    const int timeout =
        ticking ? timer_.MillisecondsLeft(IdleTimer::Clock::now()) : -1;
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {signals_.fd(), POLLIN, 0}};
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) {
      HangUp();
      return;
    }
    if (fds[1].revents != 0) {
      while (!done_) {
        const int sig = signals_.Take();
        if (sig == 0) break;
        HandleSignal(sig);
      }
    }
    if (done_) return;
    // A terminal that hung up reads as endless end-of-input: save and go.
    if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      HangUp();
      return;
    }
    if ((fds[0].revents & POLLIN) != 0) rl_callback_read_char();
    if (done_ || !view_.IdleRemarksEnabled()) return;
    const auto now = IdleTimer::Clock::now();
    if (timer_.Due(now)) {
      timer_.Advance(now);
      RunEvent(console_, [this] { companion_.IdleTick(); });
    }
  }

  void HandleLine(char* line) {
    console_.SetPromptShown(false);
    if (line == nullptr) {
      // Ctrl-D; Readline has already ended the prompt's line.
      Close();
    } else {
      const std::string text(line);
      std::free(line);
      if (!text.empty()) add_history(text.c_str());
      if (text == "/quit") {
        Close();
      } else if (text == "/version") {
        console_.Write(VersionText());
      } else {
        view_.SetInputText(TypedLine(text));
        RunEvent(console_, [this] { companion_.Talk(); });
        if (companion_.close_requested()) Close();
      }
    }
    if (closed_) {
      Finish(0);
      return;
    }
    // Readline shows the next prompt when this returns.
    rl_set_prompt(Prompt().c_str());
    console_.SetPromptShown(true);
  }

  void HandleSignal(int sig) {
    switch (sig) {
      case SIGINT:
        Interrupt();
        break;
      case SIGTERM:
      case SIGHUP:
        HangUp();
        break;
      case SIGWINCH:
        rl_resize_terminal();
        break;
      case SIGTSTP:
        Suspend();
        break;
      default:
        break;
    }
  }

  // Ctrl-C clears a typed line, and closes on an empty one.
  void Interrupt() {
    rl_callback_sigcleanup();
    if (rl_end > 0) {
      rl_replace_line("", 0);
      rl_point = rl_mark = 0;
      rl_redisplay();
      return;
    }
    console_.LeavePrompt();
    if (Close()) {
      Finish(0);
      return;
    }
    rl_forced_update_display();
    console_.SetPromptShown(true);
  }

  // The session is ending (SIGTERM, SIGHUP, the terminal gone): save without
  // the closing box.
  void HangUp() {
    console_.LeavePrompt();
    const bool saved = RunEvent(console_, [this] { companion_.SaveQuietly(); });
    Finish(saved ? 0 : 1);
  }

  // Ctrl-Z: give the terminal back while stopped, take it again after.
  void Suspend() {
    console_.LeavePrompt();
    rl_deprep_terminal();
    std::signal(SIGTSTP, SIG_DFL);
    std::raise(SIGTSTP);
    signals_.Catch(SIGTSTP);
    rl_prep_terminal(1);
    rl_forced_update_display();
    console_.SetPromptShown(true);
  }

  // The close; the run ends once it has succeeded.
  bool Close() {
    closed_ = RunEvent(console_, [this] { companion_.Close(); });
    return closed_;
  }

  void Finish(int status) {
    rl_callback_handler_remove();
    console_.SetPromptShown(false);
    done_ = true;
    status_ = status;
  }

  static InteractiveRun* current_;

  SignalPipe& signals_;
  ReadlineConsole console_;
  TermView view_;
  Companion companion_;
  IdleTimer timer_;
  std::vector<std::string> completions_;
  bool closed_ = false;
  bool done_ = false;
  int status_ = 0;
};

InteractiveRun* InteractiveRun::current_ = nullptr;

}  // namespace

int RunInteractive(Platform& platform, SignalPipe& signals) {
  std::setlocale(LC_ALL, "");
  KeepUtf8CharacterSet();
  return InteractiveRun(platform, signals).Run();
}

}  // namespace holvan::term
