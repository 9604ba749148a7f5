#include "os/user_language.h"

#include <cstdlib>

namespace holvan {

bool JapaneseUser() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') {
      return std::string_view(value).starts_with("ja");
    }
  }
  return false;
}

std::string InUserLanguage(std::string_view japanese,
                           std::string_view english) {
  return std::string(JapaneseUser() ? japanese : english);
}

}  // namespace holvan
