#include "conversation/companion.h"

#include <algorithm>

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
bool DispatchMode(Session& session, const NarrowText& line) {
  switch (session.state.Mode) {
    case ModeDiary:
      HandleDiary(session, line);
      return true;
    case ModeAwaitDefinition:
      HandleAwaitDefinition(session, line);
      return true;
    case ModeAwaitConsent:
      HandleAwaitConsent(session, line);
      return true;
    case ModeCommandMenu:
      HandleCommandMenu(session, line);
      return true;
    case ModeAwaitProgram:
      HandleAwaitProgram(session, line);
      return true;
    case ModeQuestionMenu:
      HandleQuestionMenu(session, line);
      return true;
    case ModeAwaitGender:
      HandleAwaitGender(session, line);
      return true;
    default:
      return false;
  }
}

}  // namespace

Companion::Companion(FrontEnd& front_end) : session_(front_end) {
  // The window's Transcript starts as one empty line.
  session_.transcript.SetText("\r\n");
}

void Companion::FormCreate() {
  Session& s = session_;
  ConversationState& state = s.state;
  s.random.SetSeed(s.front_end.RandomSeedAtStart());
  state.Mode = ModeFree;
  state.PendingTopic.clear();
  state.FollowUp = FollowUpNone;
  LoadStores(s.front_end.CurrentDirectory(), s.stores, state);

  if (state.UserName.empty()) {
    s.Say("お名前を教えて下さい"_sj);
    return;
  }
  const LocaleTexts& locale = JapaneseLocaleTexts();
  state.StartDateText =
      DateTimeText(DatePattern(), s.front_end.LocalNow(), locale);
  state.StartTimeText =
      DateTimeText(TimePattern(), s.front_end.LocalNow(), locale);
  s.Say("どうも "_sj + state.UserName + "さん 今日は"_sj + state.StartDateText);
  s.Say("時刻は"_sj + state.StartTimeText + "です"_sj);
  if (state.VisitCount == 100) {
    s.Say("今日でお会いするのはなんと"_sj + IntText(state.VisitCount) +
          "回目なんですよ"_sj);
  }
}

void Companion::Button1Click() {
  Session& s = session_;
  ConversationState& state = s.state;
  WorkingLine working_line{s.front_end.InputText(), {}};
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

  if (state.Mode != ModeDiary) s.Say(state.UserName + " > " + line);
  if (!empty && !s.stores.phrase_log.Contains(line)) {
    s.stores.phrase_log.Add(line);
  }
  AdjustMood(s.stores.brain, line, state.Mood);
  s.front_end.SetInputText(NarrowText());

  if (state.UserName.empty()) {
    if (!empty) {
      state.UserName = line;
      s.Say(state.UserName + "さんですね 記録しました"_sj);
      return;
    }
    s.Say("お名前を入力して下さい"_sj);
  }

  if (DispatchMode(s, line)) return;
  if (empty) return;
  if (EndsWith(working_line.wide, "？"_sj) ||
      EndsWith(working_line.wide, "?")) {
    AnswerQuestion(s, line);
    return;
  }
  if (OpenMenu(s, line)) return;
  ReactToStatement(s, working_line);
}

void Companion::Timer1Timer() { SayIdleRemark(session_); }

void Companion::FormClose() {
  SaveWithoutMessage();
  session_.front_end.ShowClosingMessage();
}

void Companion::SaveWithoutMessage() {
  UpdateProfile(session_.state, session_.stores.profile);
  SaveStores(session_.front_end.CurrentDirectory(), session_.stores);
}

}  // namespace holvan
