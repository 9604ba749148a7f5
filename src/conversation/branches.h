#pragma once

// The branches a turn hands its line to. Each ends the turn.

#include "conversation/session.h"

namespace holvan {

// Questions and teaching.
/// A line ending in "？" or "?".
void AnswerQuestion(Session& session, const NarrowText& line);
void HandleAwaitDefinition(Session& session, const NarrowText& line);
void HandleAwaitConsent(Session& session, const NarrowText& line);
/// "<name>さんは女性ですか?男性ですか?", whose answer the next line is.
void AskGender(Session& session);
void HandleAwaitGender(Session& session, const NarrowText& line);

// Command and question menus.
/// Opens a menu when the line starts with "命令", equals "command" or starts
/// with "質問"; returns false when it opened none.
bool OpenMenu(Session& session, const NarrowText& line);
void HandleCommandMenu(Session& session, const NarrowText& line);
void HandleAwaitProgram(Session& session, const NarrowText& line);
void HandleQuestionMenu(Session& session, const NarrowText& line);

// Diary mode.
void EnterDiary(Session& session);
void HandleDiary(Session& session, const NarrowText& line);

// Free conversation.
/// The line the reaction rules work on: its bytes, which every piece cut from
/// it keeps, and their UTF-16 form, which the character-wise tests read.
struct WorkingLine {
  NarrowText text;
  WideText wide;
};
void ReactToStatement(Session& session, const WorkingLine& working_line);
void LearnAndReply(Session& session, WorkingLine working_line);

// Idle remarks.
void SayIdleRemark(Session& session);

}  // namespace holvan
