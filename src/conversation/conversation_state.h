#pragma once

#include "store/profile.h"
#include "text/narrow_text.h"

namespace holvan {

/// What the next line means: a free line, or the answer a question or menu
/// waits for; the three steps of the anger; diary mode.
enum class Mode {
  kFree,
  kAwaitDefinition,
  kAwaitConsent,
  kCommandMenu,
  kAwaitProgram,
  kQuestionMenu,
  kAngry1,
  kAngry2,
  kAngry3,
  kAwaitGender,
  kDiary,
};

/// Where the remark on a known key stands: none waiting, offered (the user
/// may deny or agree), or denied (the next remark tells the key's second
/// definition).
enum class FollowUp { kNone, kOffered, kRejected };

/// The variables that every rule of the companion shares.
struct ConversationState {
  Mode mode = Mode::kFree;
  FollowUp follow_up = FollowUp::kNone;
  /// The key of the remark offered.
  NarrowText follow_up_key;
  /// The topic of the last question, which a definition then teaches.
  NarrowText pending_topic;
  Profile profile;
  /// The date and time of the greeting, which open each diary entry.
  NarrowText start_date_text;
  NarrowText start_time_text;
};

}  // namespace holvan
