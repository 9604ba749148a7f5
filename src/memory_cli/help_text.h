#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace holvan::memory_cli {

/// The text of --help, ending in a line break.
std::string HelpText();

/// The help of the command whose first word is command ("list", "remove"):
/// its entries and the options that only it takes, as --help shows them;
/// nothing for a word that starts no command.
std::optional<std::string> CommandHelp(std::string_view command);

}  // namespace holvan::memory_cli
