#include "memory_cli/output.h"

#include <cstdio>
#include <string>

#include "text/cp932.h"

namespace holvan::memory_cli {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

void Print(std::FILE* stream, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stream);
}

}  // namespace

void Say(std::string_view narrow) {
  Print(stdout, NarrowToTerminalUtf8(narrow) + "\n");
}

void SayColumns(const std::vector<std::string_view>& columns) {
  std::string line;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) line += '\t';
    // A TAB is one byte in UTF-8, never part of another character.
    for (char c : NarrowToTerminalUtf8(columns[i])) {
      if (c == '\t') {
        line += kReplacementCharacter;
      } else {
        line += c;
      }
    }
  }
  Print(stdout, line + "\n");
}

void Complain(std::string_view narrow) { Notify(NarrowToTerminalUtf8(narrow)); }

void Notify(std::string_view utf8) {
  std::fflush(stdout);
  Print(stderr, "holvan-memory: " + std::string(utf8) + "\n");
}

}  // namespace holvan::memory_cli
