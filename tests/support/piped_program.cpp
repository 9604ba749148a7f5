#include "support/piped_program.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "os/lock_holder.h"
#include "support/waiting.h"

namespace holvan::testing {

PipedProgram::PipedProgram(const std::vector<std::string>& argv,
                           const std::string& out,
                           const EnvironmentChanges& environment) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::vector<std::string> arguments = argv;
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    const int out_fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out_fd < 0 || ::dup2(fds[0], 0) < 0 || ::dup2(out_fd, 1) < 0 ||
        ::dup2(out_fd, 2) < 0) {
      _exit(127);
    }
    for (const auto& [name, value] : environment) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
    ::execv(pointers[0], pointers.data());
    _exit(127);
  }
  ::close(fds[0]);
  in_ = fds[1];
}

PipedProgram::~PipedProgram() {
  if (pid_ > 0) ::kill(pid_, SIGKILL);
  Finish("");
}

int PipedProgram::Finish(std::string_view input) {
  if (pid_ <= 0) return -1;
  if (in_ >= 0) {
    if (!input.empty() && ::write(in_, input.data(), input.size()) < 0) {
      ::kill(pid_, SIGKILL);
    }
    ::close(in_);
    in_ = -1;
  }
  return ExitStatus(WaitForChild(std::exchange(pid_, -1)));
}

bool WaitUntilLocked(const std::string& path, pid_t pid,
                     std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0 &&
               FlockTaker(KernelLockTable(), st.st_dev, st.st_ino) == pid;
      },
      timeout);
}

}  // namespace holvan::testing
