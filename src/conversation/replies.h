#pragma once

#include <string_view>

#include "conversation/conversation.h"

namespace holvan {

/// text in 『』, as the companion quotes the user.
NarrowText InWhiteCornerBrackets(std::string_view text);

/// What a reply puts between its two texts.
enum class Filler {
  kNothing,
  /// The line of the turn.
  kLine,
  /// The line of the turn, in 『』.
  kQuotedLine,
  kUserName,
  /// The number of Brain entries.
  kBrainCount,
  /// A random line of the phrase log in 『』, alone; nothing while the log
  /// holds five lines or fewer.
  kRememberedPhrase,
};

/// One of the replies of a table: before + filler + after.
struct Reply {
  std::string_view before;
  Filler filler = Filler::kNothing;
  std::string_view after = {};
};

/// Says reply, filled from line and the conversation.
void SayReply(Conversation& conversation, const Reply& reply,
              std::string_view line);

}  // namespace holvan
