#pragma once

#include "conversation/conversation.h"
#include "conversation/platform.h"
#include "conversation/turn_outcome.h"
#include "conversation/view.h"
#include "text/narrow_text.h"

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
  /// One turn on the typed line (the Talk button). Returns the input line's
  /// new text and whether the turn asked for the close, which the front end
  /// then runs (RunTurn in turn.h does both).
  TurnOutcome Talk(NarrowText line);
  /// One tick of the idle-remark timer.
  void IdleTick();
  /// The window closes: save the stores whose files exist, then the closing
  /// box. Raises on a failed write; the front end then keeps running.
  void Close();
  /// Saves the stores without the closing box (the desktop session ending,
  /// SIGTERM).
  void SaveQuietly();

  const TextLines& transcript() const { return conversation_.transcript; }
  const ConversationState& state() const { return conversation_.state; }
  const Stores& stores() const { return conversation_.stores; }

 protected:
  /// For tests, benchmarks and fuzz targets, through a class of their own:
  /// front ends reach the conversation only through the events above.
  Conversation& conversation() { return conversation_; }

 private:
  Conversation conversation_;
};

}  // namespace holvan
