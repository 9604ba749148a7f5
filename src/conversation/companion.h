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
  /// name. The three steps below, at once.
  void Start();
  /// The start before the stores load: seeds and resets; returns the folder
  /// to load them from.
  NarrowText BeginStart();
  /// The stores to load from that folder. A front end that loads them beside
  /// its window (a thread of their own) runs no other event of the companion
  /// until they are loaded and FinishStart has run.
  Stores& stores_to_load() { return conversation_.stores; }
  /// The start once the stores are loaded: takes the loaded profile, greets
  /// or asks for the name.
  void FinishStart(Profile loaded);
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
