#include "memory_cli/given_text.h"

#include <string>

#include "memory/user_text.h"
#include "memory_cli/output.h"

namespace holvan::memory_cli {

NarrowText Given(std::string_view utf8) {
  NarrowText text = memory::FromUser(utf8);
  if (const std::string notice = memory::ReplacementNotice(utf8);
      !notice.empty()) {
    Notify(notice);
  }
  return text;
}

}  // namespace holvan::memory_cli
