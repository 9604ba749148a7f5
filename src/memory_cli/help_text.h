#pragma once

#include <string>
#include <string_view>

namespace holvan::memory_cli {

/// Whether the user's locale (LC_ALL, else LC_MESSAGES, else LANG) is
/// Japanese: the help and the usage problems are then in Japanese, otherwise
/// in English. Everything else holvan-memory says is Japanese, as Holvan is.
bool JapaneseUser();

/// japanese or english, as JapaneseUser decides.
std::string InUserLanguage(std::string_view japanese, std::string_view english);

/// The text of --help, ending in a line break.
std::string HelpText();

}  // namespace holvan::memory_cli
