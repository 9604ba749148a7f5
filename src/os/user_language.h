#pragma once

#include <string>
#include <string_view>

namespace holvan {

/// Whether the user's locale (LC_ALL, else LC_MESSAGES, else LANG) is
/// Japanese. The programs' help and usage problems are then in Japanese,
/// otherwise in English; everything else they say is Japanese, as Holvan is.
bool JapaneseUser();

/// japanese or english, as JapaneseUser decides.
std::string InUserLanguage(std::string_view japanese, std::string_view english);

}  // namespace holvan
