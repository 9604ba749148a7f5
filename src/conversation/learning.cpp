#include <initializer_list>

#include "conversation/branches.h"
#include "conversation/replies.h"
#include "store/definition_list.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace holvan {

using namespace literals;

namespace {

/// A statement form: topic + marker + definition + ending.
struct StatementForm {
  std::string_view ending;
  std::string_view marker;
  /// Characters at the end of the line that the definition leaves out.
  int32_t dropped;
};

/// Learns the definition of topic; true when it rewrote an entry, which ends
/// the turn.
bool Learn(Conversation& conversation, const NarrowText& topic,
           const NarrowText& definition) {
  conversation.Say("覚えました"_sj);
  Brain& brain = conversation.stores.brain;
  const int32_t i = brain.FindKeyStartingWith(topic);
  if (i < 0) {
    brain.Add(topic, definition);
    return false;
  }
  brain.SetValue(i, WithNewestDefinition(brain.Value(i), definition));
  return true;
}

/// Learns from every statement form the line has; true when the turn ends.
/// Topic and definition are cut from the line's own bytes.
bool LearnStatements(Conversation& conversation,
                     const WorkingLine& working_line) {
  const WideText& line = working_line.wide;
  const NarrowText& narrow_line = working_line.text;
  static const StatementForm kForms[] = {
      {"だ"_sj, "というのは"_sj, 1},
      {"だ"_sj, "とは"_sj, 1},
      {"のことだよ"_sj, "とは"_sj, 2},
      {"のこと"_sj, "とは"_sj, 3},
  };
  const auto length = static_cast<int32_t>(line.size());
  for (const StatementForm& form : kForms) {
    if (!EndsWith(line, form.ending)) continue;
    // The test is by bytes, the cut by characters: a marker found only across
    // a character boundary leaves p at 0 and the topic empty.
    if (!Contains(narrow_line, form.marker)) continue;
    const WideText marker = ToWide(form.marker);
    const int32_t p = WidePos(marker, line);
    const auto marker_length = static_cast<int32_t>(marker.size());
    const NarrowText topic = WideCopy(narrow_line, 1, p - 1);
    const NarrowText definition =
        WideCopy(narrow_line, p + marker_length,
                 length - p - marker_length - form.dropped + 1);
    if (Learn(conversation, topic, definition)) return true;
  }
  return false;
}

/// Recognises a denial or an agreement of the waiting association remark.
void AnswerFollowUp(Conversation& conversation, WorkingLine& line) {
  ConversationState& state = conversation.state;
  if (state.follow_up != FollowUp::kOffered) return;
  if (StartsWithAny(line.wide, {"ちげ"_sj, "ちがう"_sj, "違う"_sj})) {
    state.follow_up = FollowUp::kRejected;
    line.text = state.follow_up_key;
    line.wide = ToWide(line.text);
  } else if (StartsWithAny(line.wide,
                           {"そうそう"_sj, "そうだ"_sj, "良く知"_sj})) {
    conversation.Say("やっぱり そうですよね"_sj);
    state.follow_up = FollowUp::kNone;
  }
}

/// The newest definition of a value; empty when it holds no "＊".
NarrowText FirstDefinition(std::string_view value) {
  return WideCopy(value, 1, WidePos("＊"_sj, value) - 1);
}

/// The definition after the first "＊", up to the next one or the end.
NarrowText SecondDefinition(std::string_view value) {
  const int32_t star = WidePos("＊"_sj, value);
  if (star == 0) return {};
  const NarrowText rest = WideCopy(value, star + 1, WideLength(value));
  const int32_t next = WidePos("＊"_sj, rest);
  return next == 0 ? rest : WideCopy(rest, 1, next - 1);
}

/// Restates a definition of a Brain key that the line mentions; true when
/// it made a remark.
bool RemarkOnKnownKey(Conversation& conversation, const WideText& line) {
  ConversationState& state = conversation.state;
  if (state.follow_up == FollowUp::kOffered) return false;
  const Brain& brain = conversation.stores.brain;
  bool remarked = false;
  brain.ForEachKeyIn(line, [&](int32_t i) {
    const std::string_view key = brain.Key(i);
    if (state.follow_up == FollowUp::kRejected) {
      const NarrowText second = SecondDefinition(brain.Value(i));
      if (IsEmpty(second)) return false;
      conversation.Say("あれ じゃ "_sj + second +
                       " ってことかな 違うなら教えて下さい"_sj);
      state.follow_up = FollowUp::kNone;
    } else {
      const NarrowText first = FirstDefinition(brain.Value(i));
      if (IsEmpty(first)) return false;
      static const std::pair<std::string_view, std::string_view>
          kRestatements[] = {
              {" というのは "_sj, " ってことですよね"_sj},
              {" とは "_sj, " ということかな"_sj},
              {" って "_sj, " のことですね"_sj},
              {" と言えば "_sj, " ですね"_sj},
          };
      const auto& [middle, end] = kRestatements[conversation.random.Below(
          static_cast<int32_t>(std::size(kRestatements)))];
      NarrowText remark(key);
      conversation.Say(remark.append(middle).append(first).append(end));
      state.follow_up_key = key;
      state.follow_up = FollowUp::kOffered;
    }
    remarked = true;
    return true;
  });
  return remarked;
}

void SayFallback(Conversation& conversation, const NarrowText& line) {
  conversation.state.follow_up = FollowUp::kNone;
  static const Reply kReplies[] = {
      {"", Filler::kLine, "ってどういうことでしょう"_sj},
      {"そうだといいですね"_sj},
      {"いろいろ教えて下さい"_sj},
      {"命令は可能なものならすべてします"_sj},
      {"今現在の単語記憶量は"_sj, Filler::kBrainCount, "語です"_sj},
      {"うん そうですよ"_sj},
      {"もちろん"_sj},
      {"違うかもしれません"_sj},
      {"変な反応ですか 勉強不足なんです"_sj},
      {"・・・"_sj},
      {"まだまだですね"_sj},
      {"", Filler::kQuotedLine, "ですか 覚えておきますね"_sj},
      {"そんなこと言わないで下さい"_sj},
      {"最近良いことありましたか？"_sj},
      {"感情はないんです だから分からない"_sj},
      {"", Filler::kUserName, "さんもいつも楽しいわけじゃないんですね"_sj},
      {"", Filler::kUserName, "さんと話せて嬉しいな"_sj},
      {"おみくじでもしますか？ おみくじ と言って下さい"_sj},
      {"知識がいくら増えてもだめですね "_sj, Filler::kUserName,
       "さんはすごいな"_sj},
      {"どうしよう 怒らせました？"_sj},
      {"それが一番ですね"_sj},
      {"", Filler::kRememberedPhrase},
      {"", Filler::kLine, "ってなんですか？"_sj},
  };
  const int32_t i =
      conversation.random.Below(static_cast<int32_t>(std::size(kReplies)));
  SayReply(conversation, kReplies[i], line);
}

}  // namespace

void LearnAndReply(Conversation& conversation, WorkingLine working_line) {
  if (LearnStatements(conversation, working_line)) return;
  AnswerFollowUp(conversation, working_line);
  if (RemarkOnKnownKey(conversation, working_line.wide)) return;
  SayFallback(conversation, working_line.text);
}

}  // namespace holvan
