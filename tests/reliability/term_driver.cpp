#include "term_driver.h"

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "support/program_run.h"
#include "support/temp_dir.h"
#include "support/waiting.h"

namespace holvan::testing {
namespace {

void Pipe(int fds[2]) {
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
}

}  // namespace

TermDriver::TermDriver(const std::string& folder,
                       const std::vector<std::string>& args,
                       const std::string& user, const std::string& input_file) {
  std::vector<std::string> arguments;
  if (!user.empty()) {
    const passwd* entry = ::getpwnam(user.c_str());
    if (entry == nullptr) throw std::runtime_error("no user " + user);
    arguments = {"setpriv", "--reuid=" + std::to_string(entry->pw_uid),
                 "--regid=" + std::to_string(entry->pw_gid), "--clear-groups",
                 "--"};
  }
  arguments.push_back(HOLVAN_TERM_PATH);
  arguments.insert(arguments.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int in[2], out[2], err[2];
  Pipe(in);
  Pipe(out);
  Pipe(err);
  const int input_fd = input_file.empty()
                           ? -1
                           : ::open(input_file.c_str(), O_RDONLY | O_CLOEXEC);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    const int stdin_fd = input_file.empty() ? in[0] : input_fd;
    if (::chdir(folder.c_str()) != 0 || ::dup2(stdin_fd, 0) < 0 ||
        ::dup2(out[1], 1) < 0 || ::dup2(err[1], 2) < 0) {
      _exit(127);
    }
    ::execvp(argv[0], argv.data());
    _exit(127);
  }
  if (input_fd >= 0) ::close(input_fd);
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  in_ = in[1];
  out_fd_ = out[0];
  err_fd_ = err[0];
  ::fcntl(out_fd_, F_SETFL, O_NONBLOCK);
  ::fcntl(err_fd_, F_SETFL, O_NONBLOCK);
}

TermDriver::~TermDriver() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  for (int fd : {in_, out_fd_, err_fd_}) {
    if (fd >= 0) ::close(fd);
  }
}

void TermDriver::Send(const std::string& line) {
  const std::string bytes = line + "\n";
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(in_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

void TermDriver::Pump(int milliseconds) {
  pollfd fds[2] = {{out_fd_, POLLIN, 0}, {err_fd_, POLLIN, 0}};
  if (::poll(fds, 2, milliseconds) <= 0) return;
  char buffer[65536];
  for (auto [fd, text] :
       {std::pair{out_fd_, &out_}, std::pair{err_fd_, &err_}}) {
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
      text->append(buffer, static_cast<size_t>(n));
    }
  }
}

bool TermDriver::WaitFor(const std::string& stream, const std::string& text,
                         std::size_t& from, std::chrono::seconds timeout) {
  std::size_t at = std::string::npos;
  const bool found = WaitUntil(
      [&] {
        at = stream.find(text, from);
        if (at == std::string::npos) Pump(20);
        return at != std::string::npos;
      },
      timeout);
  if (found) from = at + text.size();
  return found;
}

bool TermDriver::WaitOut(const std::string& text,
                         std::chrono::seconds timeout) {
  return WaitFor(out_, text, out_seen_, timeout);
}

bool TermDriver::WaitErr(const std::string& text,
                         std::chrono::seconds timeout) {
  return WaitFor(err_, text, err_seen_, timeout);
}

int TermDriver::Finish(std::chrono::seconds timeout) {
  ::close(in_);
  in_ = -1;
  // The output is read meanwhile, so that a full pipe cannot hold it up.
  int status = 0;
  const bool ended = WaitUntil(
      [&] {
        Pump(10);
        return ::waitpid(pid_, &status, WNOHANG) == pid_;
      },
      timeout);
  if (!ended) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  pid_ = -1;
  Pump(0);
  return ended ? ExitStatus(status) : -1;
}

std::vector<std::string> FixedClock(unsigned seed) {
  return {"--seed", std::to_string(seed), "--now", "2026-12-05 15:07:09"};
}

TermResult RunTermOnce(const std::string& folder, const std::string& input,
                       unsigned seed, const std::string& user,
                       std::chrono::seconds timeout) {
  // The input from a file beside the folder, so that a large input cannot
  // block against a full output pipe.
  char name[] = "/tmp/holvan-input-XXXXXX";
  const int fd = ::mkstemp(name);
  if (fd < 0) throw std::runtime_error("mkstemp failed");
  size_t done = 0;
  while (done < input.size()) {
    const ssize_t n = ::write(fd, input.data() + done, input.size() - done);
    if (n <= 0) throw std::runtime_error("cannot write the input");
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  ::chmod(name, 0644);
  TermDriver term(folder, FixedClock(seed), user, name);
  ::unlink(name);
  TermResult result;
  result.status = term.Finish(timeout);
  result.out = term.out();
  result.err = term.err();
  return result;
}

std::string TracedRun(const std::string& folder, const std::string& input,
                      const std::vector<std::string>& strace_options) {
  const TempDir io;
  std::vector<std::string> args = {"-f", "-qq", "-o", io.File("trace")};
  args.insert(args.end(), strace_options.begin(), strace_options.end());
  args.push_back(HOLVAN_TERM_PATH);
  for (const std::string& arg : FixedClock()) args.push_back(arg);
  RunProgram("/usr/bin/strace", args, folder, input);
  return io.ReadBytes("trace");
}

}  // namespace holvan::testing
