#pragma once

#include <string>

namespace holvan {

/// Starts a program from a command line without a shell: split as a shell
/// would (no expansion), searched in the absolute folders of PATH (in
/// /usr/local/bin, /usr/bin and /bin when PATH is unset or empty; never in the
/// current folder), in a session of its own, on /dev/null, with no other
/// descriptor of this process. A thread collects it when it ends. True when
/// it was found and started.
bool StartDetached(const std::string& command_line);

}  // namespace holvan
