#include "term/typed_line.h"

#include <string>

#include "text/cp932.h"

namespace holvan::term {

NarrowText TypedLine(std::string_view utf8) {
  std::string kept;
  kept.reserve(utf8.size());
  for (char c : utf8) {
    if (c != '\0') kept += c;
  }
  return Utf8ToNarrow(kept);
}

}  // namespace holvan::term
