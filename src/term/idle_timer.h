#pragma once

#include <chrono>

namespace holvan::term {

/// The 5000 ms period of the idle-remark timer on the monotonic clock.
class IdleTimer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kPeriod{5000};

  /// Starts a fresh period at now.
  void Start(Clock::time_point now) { due_ = now + kPeriod; }
  /// Milliseconds until the tick is due, rounded up; 0 when it is.
  int MillisecondsLeft(Clock::time_point now) const;
  bool Due(Clock::time_point now) const { return now >= due_; }
  /// After a tick: the next period, skipping the ticks a long pause missed.
  void Advance(Clock::time_point now);

 private:
  Clock::time_point due_;
};

}  // namespace holvan::term
