#include "conversation/branches.h"
#include "files/read_file.h"
#include "store/data_files.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/primitives.h"

namespace holvan {

using namespace literals;

namespace {

NarrowText DiaryPath(Conversation& conversation) {
  return DataFilePath(conversation.platform.WorkingFolder(),
                      FileName(DataFile::kDiary));
}

void ClearTranscript(Conversation& conversation) {
  conversation.transcript.Clear();
  conversation.view.TranscriptCleared();
}

/// The bytes of text that a range of its UTF-16 units covers (one unit per
/// character), clamped to the text.
ByteRange BytesOfUnits(std::string_view text, WideRange units) {
  const std::size_t begin = SkipCharacters(text, 0, units.begin);
  return {begin, SkipCharacters(text, begin, units.length) - begin};
}

/// Removes the user's selection, or the last line when nothing is selected.
void DeleteSelectionOrLastLine(Conversation& conversation) {
  TextLines& transcript = conversation.transcript;
  transcript.SetSelection(
      BytesOfUnits(transcript.Text(),
                   conversation.view.TranscriptSelection(transcript.Text())));
  const ByteRange removed = IsEmpty(transcript.SelectedText())
                                ? transcript.Delete(transcript.Count() - 1)
                                : transcript.DeleteSelection();
  if (removed.length > 0) {
    conversation.view.TranscriptDeleted(transcript.Text(), removed.begin,
                                        removed.length);
  }
}

}  // namespace

void EnterDiary(Conversation& conversation) {
  View& view = conversation.view;
  ClearTranscript(conversation);
  const NarrowText path = DiaryPath(conversation);
  if (FileExists(path)) {
    // A diary larger than RAM is too large for the Transcript.
    conversation.transcript.LoadFromFile(path, TooLarge::kCapacityError);
    view.TranscriptLoaded(conversation.transcript.Text());
  }
  const ConversationState& state = conversation.state;
  conversation.Say("\r\n" + state.start_date_text + state.start_time_text +
                   "\r\n");
  view.SetLook(DiaryLook());
  view.SetIdleRemarksEnabled(false);
  conversation.state.mode = Mode::kDiary;
}

void HandleDiary(Conversation& conversation, const NarrowText& line) {
  const bool save = TextEquals(line, "セーブ"_sj);
  if (save) {
    // Replaces the file whole, so that a failed write leaves the old diary.
    conversation.transcript.SaveToFile(DiaryPath(conversation));
  } else if (TextEquals(line, "削除"_sj)) {
    DeleteSelectionOrLastLine(conversation);
    return;
  } else if (!TextEquals(line, "止める"_sj) && !TextEquals(line, "終了"_sj)) {
    conversation.Say(line);
    return;
  }
  ClearTranscript(conversation);
  conversation.Say(save ? "保存しました"_sj : "終了しました"_sj);
  conversation.view.SetLook(ConversationLook());
  conversation.view.SetIdleRemarksEnabled(true);
  conversation.state.mode = Mode::kFree;
}

}  // namespace holvan
