#pragma once

#include <cstdio>
#include <string_view>

namespace holvan::term {

/// Where the terminal front end writes: stdout for the conversation, stderr
/// for error boxes, the terminal's title for the window caption. Texts are
/// UTF-8.
class Console {
 public:
  virtual ~Console() = default;
  /// Writes text, made of whole lines, on stdout.
  virtual void Write(std::string_view text) = 0;
  /// Writes one line on stderr; its break is added here.
  virtual void WriteErrorLine(std::string_view line) = 0;
  /// Shows the window caption as the terminal's title, where there is one.
  virtual void SetTitle(std::string_view title) = 0;
};

/// A console of plain streams, for scripted runs: no title.
class StreamConsole : public Console {
 public:
  void Write(std::string_view text) override;
  void WriteErrorLine(std::string_view line) override;
  void SetTitle(std::string_view) override {}
};

/// Writes all of text to stream and flushes it; a stream that fails (a closed
/// pipe) is passed over so that the run can still save.
void WriteAll(std::FILE* stream, std::string_view text);

}  // namespace holvan::term
