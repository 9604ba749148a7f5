#include "conversation/branches.h"
#include "files/read_file.h"
#include "store/data_files.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/primitives.h"

namespace holvan {

using namespace literals;

namespace {

NarrowText DiaryPath(Session& session) {
  return DataFilePath(session.platform.WorkingFolder(),
                      FileName(DataFile::kDiary));
}

void ClearTranscript(Session& session) {
  session.transcript.Clear();
  session.view.TranscriptCleared();
}

/// The bytes of text that a range of its UTF-16 units covers (one unit per
/// character), clamped to the text.
ByteRange BytesOfUnits(std::string_view text, WideRange units) {
  const std::size_t begin = SkipCharacters(text, 0, units.begin);
  return {begin, SkipCharacters(text, begin, units.length) - begin};
}

/// Removes the user's selection, or the last line when nothing is selected.
void DeleteSelectionOrLastLine(Session& session) {
  TextLines& transcript = session.transcript;
  transcript.SetSelection(BytesOfUnits(
      transcript.Text(), session.view.TranscriptSelection(transcript.Text())));
  const ByteRange removed = IsEmpty(transcript.SelectedText())
                                ? transcript.Delete(transcript.Count() - 1)
                                : transcript.DeleteSelection();
  if (removed.length > 0) {
    session.view.TranscriptDeleted(transcript.Text(), removed.begin,
                                   removed.length);
  }
}

}  // namespace

void EnterDiary(Session& session) {
  View& view = session.view;
  ClearTranscript(session);
  const NarrowText path = DiaryPath(session);
  if (FileExists(path)) {
    // A diary larger than memory is too large for the Transcript.
    session.transcript.LoadFromFile(path, TooLarge::kCapacityError);
    view.TranscriptLoaded(session.transcript.Text());
  }
  const ConversationState& state = session.state;
  session.Say("\r\n" + state.start_date_text + state.start_time_text + "\r\n");
  view.SetLook(DiaryLook());
  view.SetIdleRemarksEnabled(false);
  session.state.mode = Mode::kDiary;
}

void HandleDiary(Session& session, const NarrowText& line) {
  const bool save = TextEquals(line, "セーブ"_sj);
  if (save) {
    // Replaces the file whole, so that a failed write leaves the old diary.
    session.transcript.SaveToFile(DiaryPath(session));
  } else if (TextEquals(line, "削除"_sj)) {
    DeleteSelectionOrLastLine(session);
    return;
  } else if (!TextEquals(line, "止める"_sj) && !TextEquals(line, "終了"_sj)) {
    session.Say(line);
    return;
  }
  ClearTranscript(session);
  session.Say(save ? "保存しました"_sj : "終了しました"_sj);
  session.view.SetLook(ConversationLook());
  session.view.SetIdleRemarksEnabled(true);
  session.state.mode = Mode::kFree;
}

}  // namespace holvan
