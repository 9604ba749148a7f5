#include "memory_cli/output.h"

#include <cstdio>
#include <string>

#include "text/cp932.h"

namespace holvan::memory_cli {

void Say(std::string_view narrow) {
  const std::string line = NarrowToTerminalUtf8(narrow) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

void Complain(std::string_view narrow) {
  const std::string line =
      "holvan-memory: " + NarrowToTerminalUtf8(narrow) + "\n";
  std::fflush(stdout);
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace holvan::memory_cli
