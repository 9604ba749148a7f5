#include "term/transcript_output.h"

#include "text/cp932.h"

namespace holvan::term {
namespace {

constexpr std::string_view kBreak = "\r\n";

}  // namespace

std::string TerminalText(std::string_view narrow) {
  // Converted piece by piece, so that a broken character next to a break
  // cannot take the break with it.
  std::string out;
  std::size_t start = 0;
  while (true) {
    const std::size_t at = narrow.find(kBreak, start);
    out += NarrowToTerminalUtf8(narrow.substr(start, at - start));
    if (at == std::string_view::npos) return out;
    out += '\n';
    start = at + kBreak.size();
  }
}

std::string SaidTextOutput(std::string_view text_after,
                           std::string_view appended) {
  const std::string_view before =
      text_after.substr(0, text_after.size() - appended.size());
  std::string_view said = appended;
  if (before.empty() || before.ends_with(kBreak)) {
    if (said.ends_with(kBreak)) said.remove_suffix(kBreak.size());
  } else if (said.starts_with(kBreak)) {
    said.remove_prefix(kBreak.size());
  }
  return TerminalText(said) + "\n";
}

std::string LoadedTextOutput(std::string_view text) {
  std::string out = TerminalText(text);
  if (!text.empty() && !text.ends_with(kBreak)) out += '\n';
  return out;
}

}  // namespace holvan::term
