#pragma once

#include <string>

namespace holvan::memory_cli {

/// The text of --help, ending in a line break.
std::string HelpText();

}  // namespace holvan::memory_cli
