#include "term_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <thread>

namespace holvan::testing {

TermRun RunTerm(const TempDir& dir, std::string_view input,
                const std::vector<std::string>& args) {
  TempDir io;
  io.WriteBytes("stdin", input);
  std::vector<std::string> arguments = {HOLVAN_TERM_PATH};
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
    if (in_fd < 0 || out_fd < 0 || err_fd < 0 ||
        chdir(dir.path().c_str()) != 0 || dup2(in_fd, 0) < 0 ||
        dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0) {
      _exit(127);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }

  // A run that hangs fails the test instead of the whole suite.
  const auto give_up =
      std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int wait_status = 0;
  while (waitpid(pid, &wait_status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > give_up) {
      kill(pid, SIGKILL);
      waitpid(pid, &wait_status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  TermRun run;
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  run.out = io.ReadBytes("stdout");
  run.err = io.ReadBytes("stderr");
  return run;
}

std::vector<std::string> SeedAndNow(uint32_t seed) {
  return {"--seed", std::to_string(seed), "--now", std::string(kNow)};
}

std::string Profile(int visits, int mood, int angry_exits) {
  return Sj("太郎\r\n" + std::to_string(visits) + "\r\n" +
            std::to_string(mood) + "\r\n0\r\n0\r\n0\r\n" +
            std::to_string(angry_exits) + "\r\n");
}

}  // namespace holvan::testing
