#include "system/signal_bridge.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace holvan::system {
namespace {

// The handler sig has now.
void (*HandlerOf(int sig))(int) {
  struct sigaction action = {};
  ::sigaction(sig, nullptr, &action);
  return action.sa_handler;
}

TEST(SignalBridgeTest, SignalsArriveInTurnAndTheOldHandlersComeBack) {
  {
    SignalBridge bridge({SIGUSR1, SIGUSR2});
    ASSERT_GE(bridge.fd(), 0);
    EXPECT_EQ(bridge.Take(), 0);
    std::raise(SIGUSR2);
    std::raise(SIGUSR1);
    EXPECT_EQ(bridge.Take(), SIGUSR2);
    EXPECT_EQ(bridge.Take(), SIGUSR1);
    EXPECT_EQ(bridge.Take(), 0);
    // Dropped: the process lives on and nothing arrives.
    std::raise(SIGPIPE);
    EXPECT_EQ(bridge.Take(), 0);
  }
  EXPECT_EQ(HandlerOf(SIGUSR1), SIG_DFL);
  EXPECT_EQ(HandlerOf(SIGPIPE), SIG_DFL);
  // A second bridge after the first works as well.
  SignalBridge again({SIGUSR1});
  std::raise(SIGUSR1);
  EXPECT_EQ(again.Take(), SIGUSR1);
}

// Ctrl-Z: the process stops, and once continued the signal is caught again.
TEST(SignalBridgeTest, TheDefaultActionStopsAndTheSignalIsCaughtAgain) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    // A group of its own whose parent is outside it is never orphaned: the
    // system discards stop signals sent to an orphaned group.
    ::setpgid(0, 0);
    SignalBridge bridge({SIGTSTP});
    bridge.RaiseWithDefaultAction(SIGTSTP);
    std::raise(SIGTSTP);
    ::_exit(bridge.Take() == SIGTSTP ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, WUNTRACED), pid);
  EXPECT_TRUE(WIFSTOPPED(status));
  ::kill(pid, SIGCONT);
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Without a free descriptor for the pipe nothing is caught, so the signals
// keep their default action.
TEST(SignalBridgeTest, WithoutAPipeNothingIsCaught) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const rlimit three = {3, 3};
    if (::setrlimit(RLIMIT_NOFILE, &three) != 0) ::_exit(2);
    const SignalBridge bridge({SIGUSR1});
    const bool refused = bridge.fd() == -1 && errno == EMFILE;
    ::_exit(refused && HandlerOf(SIGUSR1) == SIG_DFL ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace holvan::system
