#include "script.h"

#include "files/read_file.h"
#include "text/cp932.h"
#include "text/line_breaks.h"

namespace holvan::bench {

std::vector<Step> ReadScript(const std::string& path) {
  const FileBytes bytes = ReadFileBytes(path);
  std::vector<Step> steps;
  ForEachLine(bytes, [&steps](std::string_view line, bool) {
    if (line == "/tick") {
      steps.push_back({true, {}});
    } else {
      steps.push_back({false, Utf8ToNarrow(line)});
    }
  });
  return steps;
}

}  // namespace holvan::bench
