#include "conversation/branches.h"
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
  session.Say(dictionary.Key(i) + " とは "_sj + dictionary.Value(i) +
              "の事ですよ 知ってました？"_sj);
}

void SaySuggestion(Session& session) {
  switch (session.random.Below(30)) {
    case 0:
      session.Say("日記でも書きませんか？"_sj);
      break;
    case 2:
      session.Say("たまにはホームページも見に行って下さい"_sj);
      break;
    case 4:
      session.Say("いつも"_sj + session.state.profile.user_name +
                  "さんは何してるのかな"_sj);
      break;
    case 8:
      session.Say("独り言がうるさかったら 独り言禁止 と言って下さい"_sj);
      break;
    case 9: {
      const PhraseLog& phrases = session.stores.phrase_log;
      if (phrases.Count() > 5) {
        const int32_t j = session.random.Below(phrases.Count());
        session.Say("『"_sj + phrases.Get(j) + "』"_sj);
      }
      break;
    }
    default:
      break;
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
