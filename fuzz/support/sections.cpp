#include "support/sections.h"

namespace holvan::fuzz {

std::map<std::string, std::string> SplitSections(std::string_view input) {
  std::map<std::string, std::string> sections;
  std::string name;
  size_t start = 0;
  size_t at = 0;
  while (at <= input.size()) {
    // A header is "@name" at the start of the input or right after "\n".
    if (at < input.size() && input[at] == '@' &&
        (at == 0 || input[at - 1] == '\n')) {
      size_t end = input.find('\n', at);
      if (end == std::string_view::npos) end = input.size();
      size_t body_end = at == 0 ? 0 : at - 1;
      if (body_end >= start) {
        sections[name] += input.substr(start, body_end - start);
      }
      name = std::string(input.substr(at + 1, end - at - 1));
      start = end + 1;
      at = start;
      continue;
    }
    ++at;
  }
  if (start < input.size()) sections[name] += input.substr(start);
  return sections;
}

}  // namespace holvan::fuzz
