#pragma once

#include <signal.h>

namespace holvan {

/// Blocks every signal in this thread while it lives, so that a thread
/// started meanwhile begins with all of them blocked and signals keep going
/// to the threads that took them before.
class SignalsBlocked {
 public:
  SignalsBlocked();
  ~SignalsBlocked();
  SignalsBlocked(const SignalsBlocked&) = delete;
  SignalsBlocked& operator=(const SignalsBlocked&) = delete;

 private:
  sigset_t before_;
};

}  // namespace holvan
