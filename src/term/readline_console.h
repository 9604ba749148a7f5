#pragma once

#include <string>

#include "term/console.h"

namespace holvan::term {

/// A console that shares the terminal with a GNU Readline prompt: output that
/// arrives while the prompt is shown (an idle remark while the user types)
/// goes above it, and the prompt with the half-typed line is drawn again
/// below, intact. The prompt's line of a sent line gives its place to what
/// the line brings, so that a turn shows once, as its echo.
class ReadlineConsole : public Console {
 public:
  /// titles: whether stdout is a terminal that can take a title.
  explicit ReadlineConsole(bool titles);
  ~ReadlineConsole() override;
  ReadlineConsole(const ReadlineConsole&) = delete;
  ReadlineConsole& operator=(const ReadlineConsole&) = delete;

  void Write(std::string_view text) override;
  void WriteErrorLine(std::string_view line) override;
  void SetTitle(std::string_view title) override;

  /// Whether Readline's prompt is on the screen now.
  void SetPromptShown(bool shown) { prompt_shown_ = shown; }
  bool prompt_shown() const { return prompt_shown_; }
  /// Ends the prompt's line so that what follows starts on a fresh one.
  void LeavePrompt();
  /// As Enter sends the line: takes the prompt's line off the screen; the
  /// next output on stdout takes its place.
  void TakeOffSentLine();
  /// Shows the prompt's line taken off again unless output on stdout has
  /// taken its place; an error line gets it back first too.
  void PutBackSentLine();

 private:
  void Print(std::FILE* stream, std::string_view text);

  bool titles_;
  bool prompt_shown_ = false;
  /// The prompt's line that TakeOffSentLine took off, as shown.
  std::string sent_line_;
};

}  // namespace holvan::term
