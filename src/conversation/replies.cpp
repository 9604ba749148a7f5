#include "conversation/replies.h"

#include "text/literal.h"
#include "text/numbers.h"

namespace holvan {

using namespace literals;

NarrowText InWhiteCornerBrackets(std::string_view text) {
  NarrowText quoted = "『"_sj;
  quoted.append(text).append("』"_sj);
  return quoted;
}

void SayReply(Conversation& conversation, const Reply& reply,
              std::string_view line) {
  NarrowText text(reply.before);
  switch (reply.filler) {
    case Filler::kNothing:
      break;
    case Filler::kLine:
      text.append(line);
      break;
    case Filler::kQuotedLine:
      text.append(InWhiteCornerBrackets(line));
      break;
    case Filler::kUserName:
      text.append(conversation.state.profile.user_name);
      break;
    case Filler::kBrainCount:
      text.append(IntText(conversation.stores.brain.Count()));
      break;
    case Filler::kRememberedPhrase: {
      const PhraseLog& phrases = conversation.stores.phrase_log;
      if (phrases.Count() <= 5) return;
      text.append(InWhiteCornerBrackets(
          phrases.Get(conversation.random.Below(phrases.Count()))));
      break;
    }
  }
  conversation.Say(text.append(reply.after));
}

}  // namespace holvan
