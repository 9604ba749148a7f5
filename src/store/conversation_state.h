#pragma once

#include <cstdint>

#include "text/narrow_text.h"

namespace holvan {

/// Values of ConversationState::Mode. 10 is never used.
enum Mode : int32_t {
  ModeFree = 0,
  ModeAwaitDefinition = 1,
  ModeAwaitConsent = 2,
  ModeCommandMenu = 3,
  ModeAwaitProgram = 4,
  ModeQuestionMenu = 5,
  ModeAngry1 = 6,
  ModeAngry2 = 7,
  ModeAngry3 = 8,
  ModeAwaitGender = 9,
  ModeDiary = 11,
};

/// Values of ConversationState::FollowUp.
enum FollowUpState : int32_t {
  FollowUpNone = 0,
  FollowUpOffered = 1,
  FollowUpRejected = 2,
};

/// The variables that every handler of the companion shares.
struct ConversationState {
  int32_t Mode = ModeFree;
  int32_t FollowUp = FollowUpNone;
  NarrowText FollowUpKey;
  NarrowText PendingTopic;
  NarrowText UserName;
  int32_t VisitCount = 0;
  int32_t Mood = 0;
  int32_t SpareCount1 = 0;
  int32_t SpareCount2 = 0;
  int32_t SpareCount3 = 0;
  int32_t AngryExitCount = 0;
  NarrowText StartDateText;
  NarrowText StartTimeText;
};

/// n + 1 with 32-bit two's complement wrap-around, for counters that may grow
/// without bound.
inline int32_t WrappingIncrement(int32_t n) {
  return static_cast<int32_t>(static_cast<uint32_t>(n) + 1u);
}

}  // namespace holvan
