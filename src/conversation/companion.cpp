#include "conversation/companion.h"

#include <algorithm>
#include <utility>

#include "conversation/branches.h"
#include "store/data_files.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace holvan {
namespace {

using namespace holvan::literals;

// The Mood step: a line found in the first Brain value cheers the companion
// up to 6, one found in the second brings it down to 0.
void AdjustMood(const Brain& brain, const NarrowText& line, int32_t& mood) {
  if (brain.Count() < 2) return;
  if (BytePos(line, brain.Value(0)) > 0 && mood < 6) ++mood;
  if (BytePos(line, brain.Value(1)) > 0 && mood > 0) --mood;
}

// A pending mode takes the next line whatever it is; returns false when no
// mode is pending.
bool DispatchMode(Conversation& conversation, const NarrowText& line) {
  using Handler = void (*)(Conversation&, const NarrowText&);
  static constexpr std::pair<Mode, Handler> kHandlers[] = {
      {Mode::kDiary, HandleDiary},
      {Mode::kAwaitDefinition, HandleAwaitDefinition},
      {Mode::kAwaitConsent, HandleAwaitConsent},
      {Mode::kCommandMenu, HandleCommandMenu},
      {Mode::kAwaitProgram, HandleAwaitProgram},
      {Mode::kQuestionMenu, HandleQuestionMenu},
      {Mode::kAwaitGender, HandleAwaitGender},
  };
  for (const auto& [mode, handle] : kHandlers) {
    if (conversation.state.mode == mode) {
      handle(conversation, line);
      return true;
    }
  }
  return false;
}

// One turn's work on the typed line text; what it leaves to the front end
// goes to conversation.outcome.
void TakeLine(Conversation& conversation, NarrowText text) {
  ConversationState& state = conversation.state;
  Profile& profile = state.profile;
  WorkingLine working_line{std::move(text), {}};
  // A stored line holds no break and no zero byte, or the next start would
  // read it as two lines or stop reading its file there: every CR and LF of
  // the input becomes a space and every zero byte goes, first (none of these
  // bytes is ever the second byte of a character).
  std::replace_if(
      working_line.text.begin(), working_line.text.end(),
      [](char c) { return c == '\r' || c == '\n'; }, ' ');
  std::erase(working_line.text, '\0');
  working_line.wide = ToWide(working_line.text);
  const NarrowText& line = working_line.text;
  const bool empty = line.empty();

  if (state.mode != Mode::kDiary)
    conversation.Say(profile.user_name + " > " + line);
  if (!empty && !conversation.stores.phrase_log.Contains(line)) {
    conversation.stores.phrase_log.Add(line);
  }
  AdjustMood(conversation.stores.brain, line, profile.mood);

  if (profile.user_name.empty()) {
    if (!empty) {
      profile.user_name = line;
      conversation.Say(profile.user_name + "さんですね 記録しました"_sj);
      return;
    }
    conversation.Say("お名前を入力して下さい"_sj);
  }

  if (DispatchMode(conversation, line)) return;
  if (empty) return;
  if (EndsWith(working_line.wide, "？"_sj) ||
      EndsWith(working_line.wide, "?")) {
    AnswerQuestion(conversation, line);
    return;
  }
  if (OpenMenu(conversation, line)) return;
  ReactToStatement(conversation, working_line);
}

}  // namespace

Companion::Companion(View& view, Platform& platform)
    : conversation_(view, platform) {
  // The window's Transcript starts as one empty line.
  conversation_.transcript.SetText("\r\n");
}

void Companion::Start() {
  const NarrowText folder = BeginStart();
  FinishStart(LoadStores(folder, conversation_.stores));
}

NarrowText Companion::BeginStart() {
  ConversationState& state = conversation_.state;
  conversation_.random.SetSeed(conversation_.platform.StartSeed());
  state.mode = Mode::kFree;
  state.pending_topic.clear();
  state.follow_up = FollowUp::kNone;
  return conversation_.platform.WorkingFolder();
}

void Companion::FinishStart(Profile loaded) {
  ConversationState& state = conversation_.state;
  state.profile = std::move(loaded);
  const Profile& profile = state.profile;

  if (profile.user_name.empty()) {
    conversation_.Say("お名前を教えて下さい"_sj);
    return;
  }
  const LocaleTexts& locale = JapaneseLocaleTexts();
  state.start_date_text =
      DateTimeText(DatePattern(), conversation_.platform.LocalNow(), locale);
  state.start_time_text =
      DateTimeText(TimePattern(), conversation_.platform.LocalNow(), locale);
  conversation_.Say("どうも "_sj + profile.user_name + "さん 今日は"_sj +
                    state.start_date_text);
  conversation_.Say("時刻は"_sj + state.start_time_text + "です"_sj);
  if (profile.visit_count == 100) {
    conversation_.Say("今日でお会いするのはなんと"_sj +
                      IntText(profile.visit_count) + "回目なんですよ"_sj);
  }
}

TurnOutcome Companion::Talk(NarrowText line) {
  conversation_.outcome = {};
  TakeLine(conversation_, std::move(line));
  return std::exchange(conversation_.outcome, {});
}

void Companion::IdleTick() { SayIdleRemark(conversation_); }

void Companion::Close() {
  SaveQuietly();
  conversation_.view.ShowClosingMessage();
}

void Companion::SaveQuietly() {
  UpdateProfile(conversation_.state.profile,
                conversation_.stores.profile_lines);
  SaveStores(conversation_.platform.WorkingFolder(), conversation_.stores);
}

}  // namespace holvan
