#include "conversation/replies.h"

#include "text/literal.h"
#include "text/numbers.h"

namespace holvan {

using namespace literals;

NarrowText Quoted(std::string_view text) {
  NarrowText quoted = "『"_sj;
  quoted.append(text).append("』"_sj);
  return quoted;
}

void SayReply(Session& session, const Reply& reply, std::string_view line) {
  NarrowText text(reply.before);
  switch (reply.filler) {
    case Filler::kNothing:
      break;
    case Filler::kLine:
      text.append(line);
      break;
    case Filler::kQuotedLine:
      text.append(Quoted(line));
      break;
    case Filler::kUserName:
      text.append(session.state.profile.user_name);
      break;
    case Filler::kBrainCount:
      text.append(IntText(session.stores.brain.Count()));
      break;
    case Filler::kRememberedPhrase: {
      const PhraseLog& phrases = session.stores.phrase_log;
      if (phrases.Count() <= 5) return;
      text.append(Quoted(phrases.Get(session.random.Below(phrases.Count()))));
      break;
    }
  }
  session.Say(text.append(reply.after));
}

}  // namespace holvan
