#include <initializer_list>

#include "conversation/branches.h"
#include "store/line_forms.h"
#include "text/literal.h"
#include "text/primitives.h"

namespace holvan {

using namespace literals;

namespace {

/// Questions about the companion itself; true when the line was one.
bool AnswerAboutItself(Session& session, const NarrowText& line) {
  if (StartsWithAny(line, {"元気"_sj, "そっち"_sj, "おまえ"_sj, "お前"_sj,
                           "あなた"_sj})) {
    session.Say("さぁ どうなんでしょう"_sj);
  } else if (StartsWith(line, "名前"_sj)) {
    session.Say("Holvanです"_sj);
  } else if (StartsWith(line, "性別"_sj)) {
    AskGender(session);
  } else {
    return false;
  }
  return true;
}

/// The 1-based position whose character ends the topic, or 0. A topic needs
/// something in the Dictionary to be looked up in.
int32_t TopicEnd(Session& session, const NarrowText& line) {
  if (session.stores.dictionary.Count() == 0) return 0;
  return QuestionTopicEnd(line);
}

void LookUp(Session& session, const NarrowText& topic) {
  ConversationState& state = session.state;
  state.pending_topic = topic;
  const int32_t j = session.stores.dictionary.Find(topic);
  if (j >= 0) {
    session.Say((topic + " とは "_sj)
                    .append(session.stores.dictionary.Value(j))
                    .append(" という事らしいです"_sj));
  } else {
    session.Say(topic + " についての情報がありません 教えて下さい"_sj);
    state.mode = Mode::kAwaitDefinition;
  }
}

}  // namespace

void AnswerQuestion(Session& session, const NarrowText& line) {
  if (AnswerAboutItself(session, line)) return;
  session.view.SetIdleRemarksEnabled(false);
  const int32_t end = TopicEnd(session, line);
  if (end > 0) {
    LookUp(session, WideCopy(line, 1, end - 1));
    return;
  }
  session.SayOneOf({"言ってることがわかりません すいません"_sj,
                    "よくわからないです 説明してくれると嬉しいです"_sj,
                    "そうですよね やっぱあれですよねあれ"_sj});
}

void HandleAwaitDefinition(Session& session, const NarrowText& line) {
  ConversationState& state = session.state;
  session.Say(state.pending_topic + " は "_sj + line +
              " という事ですか？記憶してもいいですか？"_sj);
  session.Say("だめ か いいよ で答えて下さい"_sj);
  state.mode = Mode::kAwaitConsent;
  // The consent turn adds what this question quoted; the input line will
  // hold "いいよ" by then.
  session.taught_definition = line;
  session.view.SetInputText("いいよ"_sj);
}

void HandleAwaitConsent(Session& session, const NarrowText& line) {
  ConversationState& state = session.state;
  if (TextEquals(line, "だめ"_sj)) {
    session.Say("そうですね すみません"_sj);
  } else if (TextEquals(line, "いいよ"_sj)) {
    session.stores.dictionary.Add(state.pending_topic,
                                  session.taught_definition);
    session.Say("ありがとう 覚えました"_sj);
  } else {
    session.Say("何を言っているのかわかりません もうこの話題はやめましょう"_sj);
  }
  session.taught_definition.clear();
  state.mode = Mode::kFree;
  session.view.SetIdleRemarksEnabled(true);
}

void AskGender(Session& session) {
  session.Say(session.state.profile.user_name +
              "さんは女性ですか?男性ですか?"_sj);
  session.state.mode = Mode::kAwaitGender;
}

void HandleAwaitGender(Session& session, const NarrowText& line) {
  if (StartsWith(line, "女"_sj)) {
    session.Say("そうですか 嬉しいな"_sj);
  } else if (StartsWith(line, "一応"_sj)) {
    session.Say("一応てなんですか？"_sj);
  } else {
    session.Say("そうですか 好きな人はいますか？"_sj);
  }
  session.state.mode = Mode::kFree;
}

}  // namespace holvan
