#include "term/idle_timer.h"

namespace holvan::term {

int IdleTimer::MillisecondsLeft(Clock::time_point now) const {
  if (now >= due_) return 0;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(due_ - now);
  return static_cast<int>(left.count());
}

void IdleTimer::Advance(Clock::time_point now) {
  due_ += kPeriod;
  if (due_ <= now) due_ = now + kPeriod;
}

}  // namespace holvan::term
