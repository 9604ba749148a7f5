#pragma once

#include <cstddef>
#include <string_view>

#include "conversation/look.h"
#include "text/ranges.h"

namespace holvan {

/// The period of the idle-remark timer.
inline constexpr int kIdleRemarkPeriodMs = 5000;

/// What the window must show: the look, the Transcript (told of each change
/// with its text after the change), the idle-remark switch and the closing
/// box. The input line is the front end's: each turn is handed its line and
/// returns the line's new text (Companion::Talk). The Qt window, the terminal
/// and the tests implement it.
class View {
 public:
  virtual ~View() = default;

  virtual void SetLook(const Look& look) = 0;

  // The Transcript changed and holds text now.
  /// Its last appended_size bytes were appended.
  virtual void TranscriptAppended(std::string_view text,
                                  std::size_t appended_size) = 0;
  /// It was emptied.
  virtual void TranscriptCleared() = 0;
  /// It was replaced by a file's text.
  virtual void TranscriptLoaded(std::string_view text) = 0;
  /// The bytes [begin, begin + length) of the text before were removed.
  virtual void TranscriptDeleted(std::string_view text, std::size_t begin,
                                 std::size_t length) = 0;
  /// The user's selection in the Transcript, whose text is text.
  virtual WideRange TranscriptSelection(std::string_view text) = 0;

  /// The idle-remark switch (the timer's enabled flag). Turning it on when off
  /// starts a fresh period; setting the value it has changes nothing.
  virtual bool IdleRemarksEnabled() = 0;
  virtual void SetIdleRemarksEnabled(bool on) = 0;

  /// The closing box "終了します　　", caption "確認"; returns when dismissed.
  virtual void ShowClosingMessage() = 0;
};

}  // namespace holvan
