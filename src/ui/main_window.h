#pragma once

#include <optional>

#include "conversation/companion.h"
#include "conversation/platform.h"
#include "conversation/view.h"
#include "qt/saving_window.h"
#include "text/narrow_text.h"

class QMenu;
class QPushButton;
class QTimer;

namespace holvan {

class Announcer;
class InputLine;
class TranscriptView;

/// The main window: the Transcript, the input line, the Talk and Exit
/// buttons, the idle-remark timer and the popup menu, whose items also end
/// the Transcript's and the input line's editing menus. It owns the companion
/// and runs each of its events through one guard that shows the error box.
class MainWindow : public SavingWindow, public View {
  Q_OBJECT

 public:
  explicit MainWindow(Platform& platform, QWidget* parent = nullptr);
  ~MainWindow() override;

  /// Starts the companion (a failure shows its box and the window still
  /// opens), then shows the window with the input line focused. The program
  /// calls it from inside its event loop (RunWindow).
  void Start() override;

  Companion& companion() { return companion_; }

  void SetLook(const Look& look) override;
  void TranscriptAppended(std::string_view text,
                          std::size_t appended_size) override;
  void TranscriptCleared() override;
  void TranscriptLoaded(std::string_view text) override;
  void TranscriptDeleted(std::string_view text, std::size_t begin,
                         std::size_t length) override;
  WideRange TranscriptSelection(std::string_view text) override;
  bool IdleRemarksEnabled() override;
  void SetIdleRemarksEnabled(bool on) override;
  void ShowClosingMessage() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void BuildPopupMenu();
  /// Shows menu, a control's own editing menu, at the global point at, with
  /// the popup menu's items after its own; it frees itself when closed.
  void ShowEditingMenu(QMenu* menu, const QPoint& at);

  /// The Talk button: one turn, then the close when the turn asked for it.
  void Talk();
  /// The Exit button and menu item: close as the close box does.
  void Exit();
  void IdleTick();
  void OpenSupportPage();
  void ShowVersion();

  /// Saves the stores without the closing box, unless the close is running
  /// or nothing was said since the last such save. Before the companion's
  /// start nothing is written: no file is read yet.
  std::vector<Error> SaveWork() override;
  /// Also stops the idle remarks.
  void Finish() override;
  /// The companion's close, marking the window finished when it succeeds;
  /// raises as it does.
  void RunClose();

  Companion companion_;
  TranscriptView* transcript_ = nullptr;
  InputLine* input_line_ = nullptr;
  QPushButton* talk_button_ = nullptr;
  QPushButton* exit_button_ = nullptr;
  QTimer* idle_timer_ = nullptr;
  QMenu* popup_menu_ = nullptr;
  Announcer* announcer_ = nullptr;
  /// The line of the turn under way, until it is shown back.
  std::optional<NarrowText> typed_line_;

  bool closing_ = false;
  bool quietly_saved_ = false;
};

}  // namespace holvan
