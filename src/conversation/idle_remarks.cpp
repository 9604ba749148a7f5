#include "conversation/branches.h"
#include "conversation/replies.h"
#include "text/literal.h"

namespace holvan {

using namespace literals;

namespace {

/// A random fact from the Dictionary. The index is drawn even when there is
/// none to tell, so that the sequence of draws does not depend on it.
void SayFact(Conversation& conversation) {
  const Dictionary& dictionary = conversation.stores.dictionary;
  const int32_t i = conversation.random.Below(dictionary.Count());
  if (dictionary.Count() == 0) return;
  conversation.Say(NarrowText(dictionary.Key(i))
                       .append(" とは "_sj)
                       .append(dictionary.Value(i))
                       .append("の事ですよ 知ってました？"_sj));
}

/// A suggestion on five of thirty rolls.
void SaySuggestion(Conversation& conversation) {
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
  const int32_t roll = conversation.random.Below(30);
  for (const Suggestion& suggestion : kSuggestions) {
    if (suggestion.roll == roll) SayReply(conversation, suggestion.reply, "");
  }
}

}  // namespace

void SayIdleRemark(Conversation& conversation) {
  const int32_t roll = conversation.random.Below(10);
  if (roll >= 8) {
    SayFact(conversation);
  } else if (roll <= 2) {
    SaySuggestion(conversation);
  }
}

}  // namespace holvan
