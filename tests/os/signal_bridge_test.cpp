#include "os/signal_bridge.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <optional>

#include "support/waiting.h"

namespace holvan {
namespace {

using testing::ExitStatus;
using testing::WaitForChild;

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
  const std::optional<int> stopped = WaitForChild(pid, WUNTRACED);
  ASSERT_TRUE(stopped) << "the child neither stopped nor ended";
  EXPECT_TRUE(WIFSTOPPED(*stopped));
  ::kill(pid, SIGCONT);
  EXPECT_EQ(ExitStatus(WaitForChild(pid)), 0)
      << "-1: the child did not end once continued";
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
  EXPECT_EQ(ExitStatus(WaitForChild(pid)), 0) << "-1: the child did not end";
}

}  // namespace
}  // namespace holvan
