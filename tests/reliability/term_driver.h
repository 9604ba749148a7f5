#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/waiting.h"

namespace holvan::testing {

/// holvan-term running in a folder with its stdin, stdout and stderr on pipes,
/// so that a test can type, read what came out, change the world and go on.
class TermDriver {
 public:
  /// Starts holvan-term in folder with args (and, when user is set, as that
  /// user through setpriv). With input_file, stdin is that file instead of a
  /// pipe.
  TermDriver(const std::string& folder, const std::vector<std::string>& args,
             const std::string& user = "", const std::string& input_file = "");
  ~TermDriver();
  TermDriver(const TermDriver&) = delete;
  TermDriver& operator=(const TermDriver&) = delete;

  /// Types line and Enter.
  void Send(const std::string& line);
  /// Waits until stdout holds text (after what earlier waits consumed);
  /// false after timeout.
  bool WaitOut(const std::string& text,
               std::chrono::seconds timeout = kPatience);
  /// The same for stderr.
  bool WaitErr(const std::string& text,
               std::chrono::seconds timeout = kPatience);
  /// Ends stdin and waits for the exit; the exit status, or -1 when it was
  /// killed or did not end in time (then it is killed).
  int Finish(std::chrono::seconds timeout = kPatience);

  pid_t pid() const { return pid_; }
  const std::string& out() const { return out_; }
  const std::string& err() const { return err_; }

 private:
  // Reads what is there on both pipes, waiting up to milliseconds.
  void Pump(int milliseconds);
  bool WaitFor(const std::string& stream, const std::string& text,
               std::size_t& from, std::chrono::seconds timeout);

  pid_t pid_ = -1;
  int in_ = -1;
  int out_fd_ = -1;
  int err_fd_ = -1;
  std::string out_;
  std::string err_;
  std::size_t out_seen_ = 0;
  std::size_t err_seen_ = 0;
};

/// The fixed clock and seed of these runs.
std::vector<std::string> FixedClock(unsigned seed = 1);

/// Runs holvan-term in folder with the whole input and waits for its end.
struct TermResult {
  int status = -1;
  std::string out;
  std::string err;
};
/// One that has not ended after timeout is killed and gives status -1.
TermResult RunTermOnce(const std::string& folder, const std::string& input,
                       unsigned seed = 1, const std::string& user = "",
                       std::chrono::seconds timeout = kPatience);

/// Runs holvan-term in folder with the whole input under strace (following
/// threads, with strace_options such as {"-e", "trace=..."}); the trace.
std::string TracedRun(const std::string& folder, const std::string& input,
                      const std::vector<std::string>& strace_options);

}  // namespace holvan::testing
