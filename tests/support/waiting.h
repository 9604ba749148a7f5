#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Waits that end when what they wait for happens, or fail after a deadline
// long enough for a machine whose cores are busy with other work.

namespace holvan::testing {

/// How long a test waits for what it expects before it fails.
inline constexpr std::chrono::seconds kPatience{60};
/// kPatience in milliseconds, for Qt's waits.
inline constexpr int kPatienceMs = 60'000;

/// Asks done every few milliseconds until it holds; false when it still does
/// not after timeout.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = kPatience);

/// The wait status of child pid once it has ended (or stopped, when options
/// hold WUNTRACED); nothing when it has not after timeout, and then it is
/// killed and collected.
std::optional<int> WaitForChild(pid_t pid, int options = 0,
                                std::chrono::milliseconds timeout = kPatience);

/// The exit status in a wait status; -1 when a signal ended the process or
/// there is none.
int ExitStatus(const std::optional<int>& wait_status);

/// read(2) once data, the end or an error is there: the bytes read, 0 at the
/// end, -1 on an error or when nothing came within timeout.
ssize_t ReadWithin(int fd, char* buffer, std::size_t size,
                   std::chrono::milliseconds timeout = kPatience);

}  // namespace holvan::testing
