#pragma once

#include <QWidget>
#include <functional>

#include "conversation/companion.h"
#include "conversation/front_end.h"

class QMenu;
class QPushButton;
class QTimer;

namespace holvan {

class InputLine;
class TranscriptView;

/// Form1, the main window: the Transcript, the input line, the Talk and Exit
/// buttons, the idle-remark timer and the popup menu. It owns the companion
/// and runs every handler of it through one guard that shows the error box.
class TForm1 : public QWidget, public FrontEnd {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  /// Runs FormCreate (a failure shows its box and the window still opens),
  /// then shows the window with Edit1 focused. The program calls it from
  /// inside its event loop (RunWindow).
  void Start();
  /// Saves the stores without the closing box (the session is ending), unless
  /// FormCreate has not run yet (nothing is loaded), the window has closed or
  /// nothing was said since the last such save.
  /// A failure goes to the standard error stream: no one may be there to
  /// dismiss a box.
  void SaveQuietly();
  /// Saves quietly and ends the program without the close (SIGTERM, SIGHUP).
  void SaveAndQuit();
  /// True once the close has succeeded or the program is ending.
  bool Finished() const { return finished_; }

  Companion& companion() { return companion_; }

  NarrowText InputText() override;
  void SetInputText(const NarrowText& text) override;
  void SetCaption(const NarrowText& caption) override;
  void SetTalkCaption(const NarrowText& caption) override;
  void SetTranscriptWordWrap(bool on) override;
  void SetTranscriptArrowPointer(bool arrow) override;
  void TranscriptAppended(const NarrowText& bytes) override;
  void TranscriptCleared() override;
  void TranscriptLoaded() override;
  void TranscriptDeleted(std::size_t begin, std::size_t length) override;
  WideRange TranscriptSelection() override;
  bool IdleRemarksEnabled() override;
  void SetIdleRemarksEnabled(bool on) override;
  void RequestClose() override;
  void ShowClosingMessage() override;
  void StartProgram(const NarrowText& command_line) override;
  uint64_t UptimeMilliseconds() override;
  uint32_t RandomSeedAtStart() override;
  Moment LocalNow() override;
  NarrowText CurrentDirectory() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void BuildPopupMenu();

  void Button1Click();
  /// Exit button and menu item: close as the close box does.
  void Button2Click();
  void Exit1Click();
  void Timer1Timer();
  void HP1Click();
  void N5Click();

  /// Runs a handler; a holvan::Error ends it and shows the error box.
  /// Returns whether the handler ran to its end.
  bool Guarded(const std::function<void()>& handler);
  /// FormClose, marking the window finished when it succeeds; raises as it
  /// does.
  void RunFormClose();
  void ReloadTranscript();

  Companion companion_;
  TranscriptView* memo1_ = nullptr;
  InputLine* edit1_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
  QTimer* timer1_ = nullptr;
  QMenu* popup_menu1_ = nullptr;

  bool started_ = false;
  bool closing_ = false;
  bool finished_ = false;
  bool quietly_saved_ = false;
};

}  // namespace holvan
