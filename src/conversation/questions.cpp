#include <initializer_list>

#include "conversation/branches.h"
#include "store/line_forms.h"
#include "text/literal.h"
#include "text/primitives.h"

namespace holvan {

using namespace literals;

namespace {

/// Questions about the companion itself; true when the line was one.
bool AnswerAboutItself(Conversation& conversation, const NarrowText& line) {
  if (StartsWithAny(line, {"元気"_sj, "そっち"_sj, "おまえ"_sj, "お前"_sj,
                           "あなた"_sj})) {
    conversation.Say("さぁ どうなんでしょう"_sj);
  } else if (StartsWith(line, "名前"_sj)) {
    conversation.Say("Holvanです"_sj);
  } else if (StartsWith(line, "性別"_sj)) {
    AskGender(conversation);
  } else {
    return false;
  }
  return true;
}

/// The 1-based position whose character ends the topic, or 0. A topic needs
/// something in the Dictionary to be looked up in.
int32_t TopicEnd(Conversation& conversation, const NarrowText& line) {
  if (conversation.stores.dictionary.Count() == 0) return 0;
  return QuestionTopicEnd(line);
}

void LookUp(Conversation& conversation, const NarrowText& topic) {
  ConversationState& state = conversation.state;
  state.pending_topic = topic;
  const int32_t j = conversation.stores.dictionary.Find(topic);
  if (j >= 0) {
    conversation.Say((topic + " とは "_sj)
                         .append(conversation.stores.dictionary.Value(j))
                         .append(" という事らしいです"_sj));
  } else {
    conversation.Say(topic + " についての情報がありません 教えて下さい"_sj);
    state.mode = Mode::kAwaitDefinition;
  }
}

}  // namespace

void AnswerQuestion(Conversation& conversation, const NarrowText& line) {
  if (AnswerAboutItself(conversation, line)) return;
  conversation.view.SetIdleRemarksEnabled(false);
  const int32_t end = TopicEnd(conversation, line);
  if (end > 0) {
    LookUp(conversation, WideCopy(line, 1, end - 1));
    return;
  }
  conversation.SayOneOf({"言ってることがわかりません すいません"_sj,
                         "よくわからないです 説明してくれると嬉しいです"_sj,
                         "そうですよね やっぱあれですよねあれ"_sj});
}

void HandleAwaitDefinition(Conversation& conversation, const NarrowText& line) {
  ConversationState& state = conversation.state;
  conversation.Say(state.pending_topic + " は "_sj + line +
                   " という事ですか？記憶してもいいですか？"_sj);
  conversation.Say("だめ か いいよ で答えて下さい"_sj);
  state.mode = Mode::kAwaitConsent;
  // The consent turn adds what this question quoted; the input line will
  // hold "いいよ" by then.
  conversation.taught_definition = line;
  conversation.outcome.input_line = "いいよ"_sj;
}

void HandleAwaitConsent(Conversation& conversation, const NarrowText& line) {
  ConversationState& state = conversation.state;
  if (TextEquals(line, "だめ"_sj)) {
    conversation.Say("そうですね すみません"_sj);
  } else if (TextEquals(line, "いいよ"_sj)) {
    conversation.stores.dictionary.Add(state.pending_topic,
                                       conversation.taught_definition);
    conversation.Say("ありがとう 覚えました"_sj);
  } else {
    conversation.Say(
        "何を言っているのかわかりません もうこの話題はやめましょう"_sj);
  }
  conversation.taught_definition.clear();
  state.mode = Mode::kFree;
  conversation.view.SetIdleRemarksEnabled(true);
}

void AskGender(Conversation& conversation) {
  conversation.Say(conversation.state.profile.user_name +
                   "さんは女性ですか?男性ですか?"_sj);
  conversation.state.mode = Mode::kAwaitGender;
}

void HandleAwaitGender(Conversation& conversation, const NarrowText& line) {
  if (StartsWith(line, "女"_sj)) {
    conversation.Say("そうですか 嬉しいな"_sj);
  } else if (StartsWith(line, "一応"_sj)) {
    conversation.Say("一応てなんですか？"_sj);
  } else {
    conversation.Say("そうですか 好きな人はいますか？"_sj);
  }
  conversation.state.mode = Mode::kFree;
}

}  // namespace holvan
