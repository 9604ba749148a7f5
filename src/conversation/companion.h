#pragma once

#include "conversation/conversation.h"
#include "conversation/platform.h"
#include "conversation/view.h"

namespace holvan {

/// The companion: owns the stores, the conversation state and the Transcript
/// for the life of the program; each event of the window is one method.
/// Errors (holvan::Error) propagate to the front end that called.
class Companion {
 public:
  Companion(View& view, Platform& platform);

  /// The window opens: seed, reset, load the stores, greet or ask for the
  /// name.
  void Start();
  /// One turn on the input line (the Talk button). It may ask for the close
  /// (close_requested), which the front end then runs.
  void Talk();
  /// One tick of the idle-remark timer.
  void IdleTick();
  /// The window closes: save the stores whose files exist, then the closing
  /// box. Raises on a failed write; the front end then keeps running. Clears
  /// the close request either way, so that the next request asks again.
  void Close();
  /// Saves the stores without the closing box (conversation end, SIGTERM).
  void SaveQuietly();

  /// Whether the last turn asked for the close.
  bool close_requested() const { return conversation_.close_requested; }

  const TextLines& transcript() const { return conversation_.transcript; }
  const ConversationState& state() const { return conversation_.state; }
  const Stores& stores() const { return conversation_.stores; }
  Conversation& session() { return conversation_; }

 private:
  Conversation conversation_;
};

}  // namespace holvan
