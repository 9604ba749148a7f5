#pragma once

#include <string>
#include <vector>

#include "text/narrow_text.h"

namespace holvan::bench {

/// One step of a benchmark script: a typed line, or an idle tick.
struct Step {
  bool tick = false;
  NarrowText line;
};

/// The steps of a UTF-8 script file, one per line; the line "/tick" is a
/// tick. Raises holvan::Error when the file cannot be read.
std::vector<Step> ReadScript(const std::string& path);

}  // namespace holvan::bench
