#include "system/user_language.h"

#include <cstdlib>

namespace holvan::system {

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

std::string OptionProblem(int result, std::string_view option) {
  return (result == ':' ? InUserLanguage("値が要ります: ", "missing value: ")
                        : InUserLanguage("知らないオプションです: ",
                                         "unknown option: ")) +
         std::string(option);
}

}  // namespace holvan::system
