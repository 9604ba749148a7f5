#pragma once

#include <initializer_list>
#include <string_view>

#include "conversation/conversation_state.h"
#include "conversation/platform.h"
#include "conversation/turn_outcome.h"
#include "conversation/view.h"
#include "files/text_lines.h"
#include "random/random.h"
#include "store/stores.h"

namespace holvan {

/// Everything one run of the companion works on. Owned by Companion; every
/// rule reads and writes it directly.
struct Conversation {
  Conversation(View& shown_on, Platform& runs_on)
      : view(shown_on), platform(runs_on) {}

  /// Appends text as a new last line of the Transcript.
  void Say(std::string_view text);
  /// Says each of lines in order.
  void SayLines(std::initializer_list<std::string_view> lines);
  /// Says the reply of index random.Below(replies.size()).
  void SayOneOf(std::initializer_list<std::string_view> replies);

  View& view;
  Platform& platform;
  ConversationState state;
  Stores stores;
  TextLines transcript;
  Random random;
  /// The explanation quoted by the consent question, kept until the answer.
  NarrowText taught_definition;
  /// What the turn being taken leaves to its front end; Companion::Talk
  /// hands it over.
  TurnOutcome outcome;
};

}  // namespace holvan
