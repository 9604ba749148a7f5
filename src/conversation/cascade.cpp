#include "conversation/branches.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace holvan {

using namespace literals;

namespace {

/// Each insult takes the anger one step further; the fourth asks for the
/// close, counting the exit first so that the saved profile carries it.
void ReactToInsult(Conversation& conversation) {
  ConversationState& state = conversation.state;
  switch (state.mode) {
    case Mode::kAngry2:
      conversation.Say("だめみたいですね 一端終了していいですか？"_sj);
      state.mode = Mode::kAngry3;
      break;
    case Mode::kAngry3:
      state.profile.angry_exit_count =
          WrappingIncrement(state.profile.angry_exit_count);
      conversation.outcome.close_asked = true;
      break;
    case Mode::kAngry1:
      conversation.Say("すいません もうしないので許して下さい"_sj);
      state.mode = Mode::kAngry2;
      break;
    default:
      conversation.Say("ひどい言葉ですね どうしたのですか"_sj);
      state.mode = Mode::kAngry1;
      break;
  }
}

}  // namespace

void ReactToStatement(Conversation& conversation,
                      const WorkingLine& working_line) {
  const WideText& line = working_line.wide;
  ConversationState& state = conversation.state;
  const NarrowText& name = state.profile.user_name;
  if (StartsWithAny(line, {"ばか"_sj, "しね"_sj, "死ね"_sj, "馬鹿"_sj,
                           "あほ"_sj, "おまえ"_sj, "ふざけ"_sj, "なまいき"_sj,
                           "ぼけ"_sj, "許さない"_sj, "許すか"_sj, "てめ"_sj})) {
    ReactToInsult(conversation);
  } else if (StartsWithAny(line, {"おはよ"_sj, "おっは"_sj})) {
    conversation.Say("おはようございます "_sj + name + "さん"_sj);
  } else if (StartsWithAny(line,
                           {"しょうがな"_sj, "許してや"_sj, "許してあ"_sj})) {
    conversation.Say("ありがとう "_sj + name + "さん"_sj);
    state.mode = Mode::kFree;
  } else if (StartsWith(line, "ごめん"_sj)) {
    conversation.SayOneOf({"いえいえ こちらも悪かったです"_sj,
                           "間違いは誰にでもありますよ 私にはありませんが"_sj,
                           "忘れます 別の話をしましょう"_sj});
    state.mode = Mode::kFree;
  } else if (StartsWith(line, "だめ"_sj)) {
    conversation.Say("すいません"_sj);
  } else if (StartsWith(line, "元気"_sj)) {
    conversation.Say("健康なのが一番みたいですね"_sj);
  } else if (StartsWithAny(line, {"こんばんは"_sj, "こんにちは"_sj})) {
    conversation.SayOneOf({"今日は天気はどうなんでしょう？"_sj,
                           "ご機嫌いかがですか？"_sj,
                           "今日はどんな事しましょう？"_sj});
  } else if (StartsWithAny(line, {"良いよ"_sj, "いいよ"_sj, "晴れ"_sj,
                                  "楽し"_sj, "今日は晴"_sj})) {
    conversation.SayOneOf({"それは良かったですね"_sj,
                           "良いんですね 嬉しいですね"_sj,
                           "たまには掃除でもしてくれると嬉しいな"_sj});
  } else if (StartsWith(line, "性別"_sj)) {
    AskGender(conversation);
  } else if (StartsWithAny(line, {"すけべ"_sj, "スケベ"_sj})) {
    conversation.Say("スケベってなんですか？"_sj);
  } else if (StartsWithAny(line, {"いない"_sj, "いねぇ"_sj})) {
    conversation.Say("見つかるといいですね"_sj);
  } else if (StartsWithAny(line, {"雨"_sj, "今日は雨"_sj})) {
    conversation.Say("いやな天気ですね"_sj);
  } else if (StartsWith(line, "独り言禁止"_sj)) {
    conversation.Say(
        "わかりました してもいい時は 独り言許可 と言って下さい"_sj);
    conversation.view.SetIdleRemarksEnabled(false);
  } else if (StartsWith(line, "独り言許可"_sj)) {
    conversation.Say("了解しました"_sj);
    conversation.view.SetIdleRemarksEnabled(true);
  } else if (StartsWith(line, "日記"_sj)) {
    EnterDiary(conversation);
  } else if (TextEquals(working_line.text, "おみくじ"_sj)) {
    conversation.SayOneOf(
        {"【大吉】 おめでとうございます これから素晴らしい事が起こりそうですね"_sj,
         "【中吉】 今は上り調子みたいですね すごい"_sj,
         "【小吉】 小さな幸せが沢山来そうです"_sj,
         "【凶】 あまり無理はしないほうが良いみたいです"_sj,
         "【大凶】 あ・・まぁ気にしないで下さい"_sj});
  } else if (StartsWithAny(line, {"ふふ"_sj, "あはは"_sj})) {
    conversation.SayOneOf({"笑ってるんですか？"_sj, "ふふふ"_sj});
  } else if (StartsWithAny(line, {"助けて"_sj, "ヘルプ"_sj})) {
    conversation.SayOneOf(
        {"助ける？ メモリ+16MBでどうですか？"_sj, "どうしました？"_sj});
  } else {
    LearnAndReply(conversation, working_line);
  }
}

}  // namespace holvan
