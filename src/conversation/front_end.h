#pragma once

#include <cstddef>
#include <cstdint>

#include "dates/date_time.h"
#include "text/narrow_text.h"

namespace holvan {

/// A range of the Transcript's text in UTF-16 units of its wide form: what a
/// front end shows and lets the user select.
struct WideRange {
  std::size_t begin = 0;
  std::size_t length = 0;
};

/// Everything the core needs from a window or the system. The Qt window, the
/// terminal front end and the tests each implement it; each owns its event
/// loop and calls the companion's handlers.
class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  // The input line.
  virtual NarrowText InputText() = 0;
  /// Sets the input line and selects all of it.
  virtual void SetInputText(const NarrowText& text) = 0;

  // Window properties that diary mode changes.
  virtual void SetCaption(const NarrowText& caption) = 0;
  virtual void SetTalkCaption(const NarrowText& caption) = 0;
  virtual void SetTranscriptWordWrap(bool on) = 0;
  /// true: the standard arrow over the Transcript; false: its default pointer.
  virtual void SetTranscriptArrowPointer(bool arrow) = 0;

  // The Transcript changed; the front end updates its view from
  // Companion::Transcript().
  /// bytes were appended to the end of the text.
  virtual void TranscriptAppended(const NarrowText& bytes) = 0;
  /// The text was emptied.
  virtual void TranscriptCleared() = 0;
  /// The text was replaced by a file's text.
  virtual void TranscriptLoaded() = 0;
  /// The bytes [begin, begin + length) of the old text were removed.
  virtual void TranscriptDeleted(std::size_t begin, std::size_t length) = 0;
  /// The user's selection in the Transcript, in UTF-16 units.
  virtual WideRange TranscriptSelection() = 0;

  /// The idle-remark switch (the timer's enabled flag). Turning it on when off
  /// starts a fresh period; setting the value it has changes nothing.
  virtual bool IdleRemarksEnabled() = 0;
  virtual void SetIdleRemarksEnabled(bool on) = 0;

  /// Asks the window to close now, from inside a turn: the front end runs its
  /// close (Companion::FormClose) at once and ends the program after the
  /// running event returns if it succeeded. A failure may propagate.
  virtual void RequestClose() = 0;
  /// The closing box "終了します　　", caption "確認"; returns when dismissed.
  virtual void ShowClosingMessage() = 0;

  // The system.
  /// Starts a program from a command line; failures are passed over.
  virtual void StartProgram(const NarrowText& command_line) = 0;
  /// Milliseconds since the system started.
  virtual uint64_t UptimeMilliseconds() = 0;
  /// The value RandomSeed takes at start-up (normally the UTC time of day in
  /// milliseconds).
  virtual uint32_t RandomSeedAtStart() = 0;
  /// The local clock.
  virtual Moment LocalNow() = 0;
  /// The current working directory, asked anew each time.
  virtual NarrowText CurrentDirectory() = 0;
};

}  // namespace holvan
