#pragma once

#include "term/console.h"

namespace holvan::term {

/// A console that shares the terminal with a GNU Readline prompt: output that
/// arrives while the prompt is shown (an idle remark while the user types)
/// goes above it, and the prompt with the half-typed line is drawn again
/// below, intact.
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

 private:
  void Print(std::FILE* stream, std::string_view text);

  bool titles_;
  bool prompt_shown_ = false;
};

}  // namespace holvan::term
