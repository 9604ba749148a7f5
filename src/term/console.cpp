#include "term/console.h"

#include <string>

namespace holvan::term {

void WriteAll(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
  std::clearerr(stream);
}

void StreamConsole::Write(std::string_view text) { WriteAll(stdout, text); }

void StreamConsole::WriteErrorLine(std::string_view line) {
  WriteAll(stderr, std::string(line) + "\n");
}

}  // namespace holvan::term
