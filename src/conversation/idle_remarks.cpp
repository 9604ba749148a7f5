#include "conversation/branches.h"
#include "conversation/replies.h"
#include "text/literal.h"

namespace holvan {

using namespace literals;

namespace {

/// A random fact from the Dictionary. The index is drawn even when there is
/// none to tell, so that the sequence of draws does not depend on it.
void SayFact(Session& session) {
  const Dictionary& dictionary = session.stores.dictionary;
  const int32_t i = session.random.Below(dictionary.Count());
  if (dictionary.Count() == 0) return;
  session.Say(NarrowText(dictionary.Key(i))
                  .append(" とは "_sj)
                  .append(dictionary.Value(i))
                  .append("の事ですよ 知ってました？"_sj));
}

/// A suggestion on five of thirty rolls.
void SaySuggestion(Session& session) {
  struct Suggestion {
    int32_t roll;
    Reply reply;
  };
  static const Suggestion kSuggestions[] = {
      {0, {"日記でも書きませんか？"_sj}},
      {2, {"たまにはホームページも見に行って下さい"_sj}},
      {4, {"いつも"_sj, Filler::kUserName, "さんは何してるのかな"_sj}},
      {8, {"独り言がうるさかったら 独り言禁止 と言って下さい"_sj}},
      {9, {"", Filler::kRememberedPhrase}},
  };
  const int32_t roll = session.random.Below(30);
  for (const Suggestion& suggestion : kSuggestions) {
    if (suggestion.roll == roll) SayReply(session, suggestion.reply, "");
  }
}

}  // namespace

void SayIdleRemark(Session& session) {
  const int32_t roll = session.random.Below(10);
  if (roll >= 8) {
    SayFact(session);
  } else if (roll <= 2) {
    SaySuggestion(session);
  }
}

}  // namespace holvan
