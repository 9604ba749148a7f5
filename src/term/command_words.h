#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace holvan::term {

/// Holvan's own command words (UTF-8) that begin with typed, for Tab at the
/// prompt: the diary's in diary mode, the conversation's otherwise.
std::vector<std::string> CommandWordsStartingWith(std::string_view typed,
                                                  bool diary);

}  // namespace holvan::term
