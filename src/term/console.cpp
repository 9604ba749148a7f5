#include "term/console.h"

#include <cerrno>
#include <string>

#include "os/standard_streams.h"

namespace holvan::term {

void WriteAll(std::FILE* stream, std::string_view text) {
  // A failed write is told at the end; the conversation goes on and saves.
  if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() ||
      std::fflush(stream) != 0) {
    NoteWriteFailure(errno);
  }
  std::clearerr(stream);
}

void StreamConsole::Write(std::string_view text) { WriteAll(stdout, text); }

void StreamConsole::WriteErrorLine(std::string_view line) {
  WriteAll(stderr, std::string(line) + "\n");
}

}  // namespace holvan::term
