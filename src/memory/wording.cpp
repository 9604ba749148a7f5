#include "memory/wording.h"

#include "text/literal.h"
#include "text/numbers.h"

namespace holvan::memory {

using namespace holvan::literals;

NarrowText InCornerBrackets(std::string_view text) {
  return "「"_sj + NarrowText(text) + "」"_sj;
}

NarrowText LineName(MemoryFile file, int64_t line) {
  return NarrowText(FileName(file)) + " の "_sj + IntText(line) + " 行目"_sj;
}

}  // namespace holvan::memory
