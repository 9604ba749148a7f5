#pragma once

#include "conversation/platform.h"
#include "conversation/session.h"
#include "conversation/view.h"

namespace holvan {

/// The companion: owns the stores, the conversation state and the Transcript
/// for the life of the program, and has the window's handlers as methods.
/// Errors (holvan::Error) propagate to the front end that called.
class Companion {
 public:
  Companion(View& view, Platform& platform);

  /// Creation: seed, reset, load the stores, greet or ask for the name.
  void FormCreate();
  /// One turn on the input line. It may ask for the close (close_requested),
  /// which the front end then runs.
  void Button1Click();
  /// One tick of the idle-remark timer.
  void Timer1Timer();
  /// Close: save the stores whose files exist, then the closing box. Raises on
  /// a failed write; the front end then keeps running. Clears the close
  /// request either way, so that the next request asks again.
  void FormClose();
  /// Saves the stores without the closing box (session end, SIGTERM).
  void SaveWithoutMessage();

  /// Whether the last turn asked for the close.
  bool close_requested() const { return session_.close_requested; }

  const TextLines& Transcript() const { return session_.transcript; }
  const ConversationState& State() const { return session_.state; }
  const Stores& GetStores() const { return session_.stores; }
  Session& session() { return session_; }

 private:
  Session session_;
};

}  // namespace holvan
