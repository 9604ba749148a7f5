#pragma once

#include "conversation/front_end.h"
#include "store/conversation_state.h"
#include "store/stores.h"
#include "random/random.h"
#include "files/text_lines.h"

namespace holvan {

/// Everything one run of the companion works on. Owned by Companion; every
/// handler reads and writes it directly.
struct Session {
  explicit Session(FrontEnd& front) : front_end(front) {}

  /// Appends text as a new last line of the Transcript.
  void Say(std::string_view text);

  FrontEnd& front_end;
  ConversationState state;
  Stores stores;
  TextLines transcript;
  Random random;
  /// The explanation quoted by the consent question, kept until the answer.
  NarrowText taught_definition;
};

}  // namespace holvan
