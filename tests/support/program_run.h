#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace holvan::testing {

/// What one run of a program left behind.
struct ProgramRun {
  /// The exit status; -1 when a signal ended it or it had to be killed.
  int status = -1;
  std::string out;
  std::string err;
};

/// Environment changes for a run: the variable set to the value, or unset.
using EnvironmentChanges =
    std::vector<std::pair<std::string, std::optional<std::string>>>;

/// Runs program with args in folder, with input as its whole stdin and the
/// environment changed so, and waits for its end (killed after kPatience).
ProgramRun RunProgram(const std::string& program,
                      const std::vector<std::string>& args,
                      const std::string& folder, std::string_view input,
                      const EnvironmentChanges& environment = {});

}  // namespace holvan::testing
