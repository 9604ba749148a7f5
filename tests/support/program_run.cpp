#include "support/program_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "support/temp_dir.h"
#include "support/waiting.h"

namespace holvan::testing {

ProgramRun RunProgram(const std::string& program,
                      const std::vector<std::string>& args,
                      const std::string& folder, std::string_view input,
                      const EnvironmentChanges& environment) {
  TempDir io;
  io.WriteBytes("stdin", input);
  std::vector<std::string> arguments = {program};
  arguments.insert(arguments.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const std::string in = io.File("stdin");
  const std::string out = io.File("stdout");
  const std::string err = io.File("stderr");

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int in_fd = open(in.c_str(), O_RDONLY);
    const int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in_fd < 0 || out_fd < 0 || err_fd < 0 || chdir(folder.c_str()) != 0 ||
        dup2(in_fd, 0) < 0 || dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0) {
      _exit(127);
    }
    for (const auto& [name, value] : environment) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    execv(argv[0], argv.data());
    _exit(127);
  }

  // A run that hangs fails the test instead of the whole suite.
  ProgramRun run;
  run.status = ExitStatus(WaitForChild(pid));
  run.out = io.ReadBytes("stdout");
  run.err = io.ReadBytes("stderr");
  return run;
}

}  // namespace holvan::testing
