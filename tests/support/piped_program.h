#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "support/program_run.h"
#include "support/waiting.h"

namespace holvan::testing {

/// A program running with its stdin on a pipe that the test writes, and its
/// stdout and stderr in one file.
class PipedProgram {
 public:
  /// Starts argv (argv[0] a path) with the environment changed so.
  PipedProgram(const std::vector<std::string>& argv, const std::string& out,
               const EnvironmentChanges& environment = {});
  ~PipedProgram();
  PipedProgram(const PipedProgram&) = delete;
  PipedProgram& operator=(const PipedProgram&) = delete;

  /// Writes input, ends it and waits for the exit (killed when it does not
  /// come in time); the exit status, or -1 when a signal ended it.
  int Finish(std::string_view input);

  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
};

/// Waits until the kernel's lock table shows pid holding the flock on path's
/// file, looking without taking it; false after timeout.
bool WaitUntilLocked(const std::string& path, pid_t pid,
                     std::chrono::milliseconds timeout = kPatience);

}  // namespace holvan::testing
