#include "term/interactive_mode.h"

#include <glib.h>
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

// Readline's headers need <cstdio> (above) first.
#include <readline/history.h>
#include <readline/readline.h>

#include "conversation/companion.h"
#include "conversation/turn.h"
#include "term/command_words.h"
#include "term/readline_console.h"
#include "term/run_event.h"
#include "term/run_loop.h"
#include "term/term_view.h"
#include "term/terminal_titles.h"
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

// Enter sends the line through Send instead of Readline's accept-line, in
// every key map and on every key that Readline or an inputrc bound to it.
void BindSendKeys(rl_command_func_t* send) {
  for (Keymap map :
       {emacs_standard_keymap, vi_insertion_keymap, vi_movement_keymap}) {
    char** keys = rl_invoking_keyseqs_in_map(rl_newline, map);
    if (keys == nullptr) continue;
    for (char** key = keys; *key != nullptr; ++key) {
      rl_bind_keyseq_in_map(*key, send, map);
      std::free(*key);
    }
    std::free(keys);
  }
}

class InteractiveRun {
 public:
  InteractiveRun(Platform& platform, SignalBridge& signals)
      : signals_(signals),
        console_(TerminalTakesTitles()),
        view_(console_),
        companion_(view_, platform) {
    view_.OnIdleRemarksSwitched([this](bool on) { SwitchIdleTimer(on); });
    current_ = this;
  }
  ~InteractiveRun() {
    RemoveSource(tick_timer_);
    current_ = nullptr;
  }
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
    BindSendKeys(&InteractiveRun::Send);

    SwitchIdleTimer(true);
    view_.SetLook(ConversationLook());
    RunEvent(console_, [this] { companion_.Start(); });
    rl_callback_handler_install(Prompt().c_str(), &InteractiveRun::OnLine);
    console_.SetPromptShown(true);
    loop_.Run(signals_.fd(), &InteractiveRun::OnSignal,
              &InteractiveRun::OnInput, this);
    return status_;
  }

 private:
  static gboolean OnSignal(gint, GIOCondition, gpointer) {
    while (!current_->done_) {
      const int sig = current_->signals_.Take();
      if (sig == 0) break;
      current_->HandleSignal(sig);
    }
    return G_SOURCE_CONTINUE;
  }

  static gboolean OnInput(gint, GIOCondition condition, gpointer) {
    // A terminal that hung up reads as endless end-of-input: save and go.
    if ((condition & (G_IO_HUP | G_IO_ERR | G_IO_NVAL)) != 0) {
      current_->HangUp();
    } else {
      rl_callback_read_char();
    }
    return G_SOURCE_CONTINUE;
  }

  static gboolean OnTick(gpointer) {
    RunEvent(current_->console_, [] { current_->companion_.IdleTick(); });
    return G_SOURCE_CONTINUE;
  }

  // The idle-remark switch: on starts a fresh period, off stops the timer.
  void SwitchIdleTimer(bool on) {
    RemoveSource(tick_timer_);
    if (on) {
      tick_timer_ =
          g_timeout_add(kIdleRemarkPeriodMs, &InteractiveRun::OnTick, this);
    }
  }

  // Enter: the prompt's line leaves the screen, and what the line brings
  // (its echo) takes its place.
  static int Send(int count, int key) {
    current_->console_.TakeOffSentLine();
    return rl_newline(count, key);
  }

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

  // A prompt after a turn that left text on the input line starts with it.
  static int OnPreInput() {
    const NarrowText& input = current_->input_line_;
    if (!input.empty()) {
      rl_insert_text(NarrowToUtf8(input).c_str());
      rl_redisplay();
    }
    return 0;
  }

  std::string Prompt() { return NarrowToUtf8(view_.talk_caption()) + "> "; }

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
        TurnRun run = RunTurn(companion_, TypedLine(text),
                              std::bind_front(&RunEvent, std::ref(console_)),
                              [this] { companion_.Close(); });
        input_line_ = std::move(run.input_line);
        closed_ = run.closed;
      }
    }
    // A line that showed nothing keeps its prompt's line.
    console_.PutBackSentLine();
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
    signals_.RaiseWithDefaultAction(SIGTSTP);
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
    RemoveSource(tick_timer_);
    loop_.Quit();
  }

  static InteractiveRun* current_;

  SignalBridge& signals_;
  ReadlineConsole console_;
  TermView view_;
  Companion companion_;
  RunLoop loop_;
  /// The input line's text the last turn left, which each prompt starts
  /// with.
  NarrowText input_line_;
  guint tick_timer_ = 0;
  std::vector<std::string> completions_;
  bool closed_ = false;
  bool done_ = false;
  int status_ = 0;
};

InteractiveRun* InteractiveRun::current_ = nullptr;

}  // namespace

int RunInteractive(Platform& platform, SignalBridge& signals) {
  std::setlocale(LC_ALL, "");
  KeepUtf8CharacterSet();
  return InteractiveRun(platform, signals).Run();
}

}  // namespace holvan::term
