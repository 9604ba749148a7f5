#pragma once

#include <cstdint>
#include <vector>

#include "store/phrase_log.h"
#include "text/line_breaks.h"
#include "text/narrow_text.h"

namespace holvan::testing {

/// The lines of a data file's bytes as the plain rules read them: a line ends
/// at CR LF, a lone CR or an LF, the last one too; the text ends at the first
/// zero byte.
inline std::vector<NarrowText> FileLines(std::string_view bytes) {
  std::vector<NarrowText> lines;
  ForEachLine(UpToZero(bytes), [&lines](std::string_view line, bool) {
    lines.emplace_back(line);
  });
  return lines;
}

/// Every line of the log, in order.
inline std::vector<NarrowText> LinesOf(const PhraseLog& log) {
  std::vector<NarrowText> lines;
  for (int32_t i = 0; i < log.Count(); ++i) lines.emplace_back(log.Get(i));
  return lines;
}

/// Every pair of a Brain or Dictionary as key "|" value, in order.
template <typename Pairs>
std::vector<NarrowText> PairsOf(const Pairs& pairs) {
  std::vector<NarrowText> all;
  for (int32_t i = 0; i < pairs.Count(); ++i) {
    all.push_back(NarrowText(pairs.Key(i)).append("|").append(pairs.Value(i)));
  }
  return all;
}

}  // namespace holvan::testing
