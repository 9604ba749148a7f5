#pragma once

#include <string>

namespace holvan {

/// The text of holvan --help in the user's language, ending in a line break.
std::string WindowHelpText();

}  // namespace holvan
