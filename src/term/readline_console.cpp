#include "term/readline_console.h"

#include <cstdio>
#include <string>

// Readline's header needs <cstdio> (above) first.
#include <readline/readline.h>

#include "text/cp932.h"

namespace holvan::term {
namespace {

// xterm's title stack: the title the terminal had comes back at the end.
constexpr std::string_view kPushTitle = "\x1b[22;0t";
constexpr std::string_view kPopTitle = "\x1b[23;0t";

}  // namespace

ReadlineConsole::ReadlineConsole(bool titles) : titles_(titles) {
  if (titles_) WriteAll(stdout, kPushTitle);
}

ReadlineConsole::~ReadlineConsole() {
  if (titles_) WriteAll(stdout, kPopTitle);
}

void ReadlineConsole::Write(std::string_view text) {
  sent_line_.clear();
  Print(stdout, text);
}

void ReadlineConsole::WriteErrorLine(std::string_view line) {
  PutBackSentLine();
  Print(stderr, std::string(line) + "\n");
}

void ReadlineConsole::SetTitle(std::string_view title) {
  if (!titles_) return;
  // OSC 0; control characters would end the sequence early.
  std::string sequence = "\x1b]0;";
  for (char c : title) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) sequence += c;
  }
  sequence += '\a';
  WriteAll(stdout, sequence);
}

void ReadlineConsole::LeavePrompt() {
  if (!prompt_shown_) return;
  rl_point = rl_end;
  rl_redisplay();
  WriteAll(stdout, "\n");
  prompt_shown_ = false;
}

void ReadlineConsole::TakeOffSentLine() {
  // An active region (a paste) would be drawn once more first.
  rl_deactivate_mark();
  // Shown as the turn will take it: code page 932, no control characters.
  sent_line_ = std::string(rl_prompt) +
               NarrowToTerminalUtf8(Utf8ToNarrow(rl_line_buffer)) + "\n";
  rl_clear_visible_line();
  std::fflush(rl_outstream);
  // Readline then takes its display for empty and ends no line of its own.
  rl_on_new_line();
}

void ReadlineConsole::PutBackSentLine() {
  if (sent_line_.empty()) return;
  WriteAll(stdout, sent_line_);
  sent_line_.clear();
}

void ReadlineConsole::Print(std::FILE* stream, std::string_view text) {
  if (!prompt_shown_) {
    WriteAll(stream, text);
    return;
  }
  rl_clear_visible_line();
  std::fflush(rl_outstream);
  WriteAll(stream, text);
  rl_forced_update_display();
}

}  // namespace holvan::term
