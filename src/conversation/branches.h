#pragma once

// The branches a turn hands its line to. Each ends the turn.

#include "conversation/conversation.h"

namespace holvan {

// Questions and teaching.
/// A line ending in "？" or "?".
void AnswerQuestion(Conversation& conversation, const NarrowText& line);
void HandleAwaitDefinition(Conversation& conversation, const NarrowText& line);
void HandleAwaitConsent(Conversation& conversation, const NarrowText& line);
/// "<name>さんは女性ですか?男性ですか?", whose answer the next line is.
void AskGender(Conversation& conversation);
void HandleAwaitGender(Conversation& conversation, const NarrowText& line);

// Command and question menus.
/// Opens a menu when the line starts with "命令", equals "command" or starts
/// with "質問"; returns false when it opened none.
bool OpenMenu(Conversation& conversation, const NarrowText& line);
void HandleCommandMenu(Conversation& conversation, const NarrowText& line);
void HandleAwaitProgram(Conversation& conversation, const NarrowText& line);
void HandleQuestionMenu(Conversation& conversation, const NarrowText& line);

// Diary mode.
void EnterDiary(Conversation& conversation);
void HandleDiary(Conversation& conversation, const NarrowText& line);

// Free conversation.
/// The line the reaction rules work on: its bytes, which every piece cut from
/// it keeps, and their UTF-16 form, which the character-wise tests read.
struct WorkingLine {
  NarrowText text;
  WideText wide;
};
void ReactToStatement(Conversation& conversation,
                      const WorkingLine& working_line);
void LearnAndReply(Conversation& conversation, WorkingLine working_line);

// Idle remarks.
void SayIdleRemark(Conversation& conversation);

}  // namespace holvan
