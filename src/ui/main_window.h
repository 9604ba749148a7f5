#pragma once

#include <deque>
#include <functional>
#include <future>
#include <optional>
#include <string_view>

#include "conversation/companion.h"
#include "conversation/platform.h"
#include "conversation/view.h"
#include "qt/saving_window.h"
#include "store/data_files.h"
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
/// The memory loads beside the window: the window shows at once and takes
/// typing; the lines sent meanwhile wait for the loaded memory.
class MainWindow : public SavingWindow, public View {
  Q_OBJECT

 public:
  /// Loads the stores from a folder into the stores given; raises as
  /// LoadStores does. It runs on a thread of its own.
  using MemoryLoader =
      std::function<Profile(std::string_view folder, Stores& stores)>;

  explicit MainWindow(Platform& platform, QWidget* parent = nullptr,
                      MemoryLoader load = LoadStores);
  /// Waits for a load still running: it works on the companion's stores and
  /// the members below.
  ~MainWindow() override;

  /// Shows the window with the input line focused and starts loading the
  /// memory beside it; the rest of the companion's start (the greeting, or a
  /// failure's box), the idle remarks and the lines sent meanwhile follow
  /// once it is loaded. The program calls it from inside its event loop
  /// (RunWindow).
  void Start() override;
  /// True from Start until the loaded memory's start and the lines kept
  /// meanwhile have run.
  bool loading() const {
    return memory_ != Memory::kUnread && memory_ != Memory::kReady;
  }

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

 signals:
  /// The companion's start has run on the loaded memory, and the lines kept
  /// meanwhile have been answered.
  void Started();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  /// Where the memory's load stands: unread before Start; loading while its
  /// thread runs; loaded once joined and the start's rest has run; finishing
  /// while the kept lines run; ready after.
  enum class Memory { kUnread, kLoading, kLoaded, kFinishing, kReady };

  void BuildControls();
  void BuildPopupMenu();
  /// Shows menu, a control's own editing menu, at the global point at, with
  /// the popup menu's items after its own; it frees itself when closed.
  void ShowEditingMenu(QMenu* menu, const QPoint& at);

  /// The Talk button: one turn, then the close when the turn asked for it;
  /// while the memory loads, the line is kept for then.
  void Talk();
  /// One turn on line, then the close when the turn asked for it; the input
  /// line shows the turn's new text when show_input_line. Returns whether
  /// the close ran.
  bool RunLine(NarrowText line, bool show_input_line);
  /// Starts the load on a thread of its own, unless it has started.
  void StartLoading();
  /// Waits for the loading thread (started now if it was not), then runs the
  /// start's rest on the loaded stores, keeping a failure for the box. No box:
  /// a quiet save calls it.
  void JoinLoad();
  /// Once the memory is loaded: the start's failure box, the idle remarks,
  /// then the lines kept meanwhile, in order.
  void FinishLoading();
  /// The Exit button and menu item: close as the close box does.
  void Exit();
  void IdleTick();
  void OpenSupportPage();
  void ShowVersion();

  /// Saves the stores without the closing box, unless the close is running
  /// or nothing was said since the last such save; a load still running is
  /// waited for first. Before the companion's start nothing is written: no
  /// file is read yet.
  std::vector<Error> SaveWork() override;
  /// Also stops the idle remarks.
  void Finish() override;
  /// The companion's close, marking the window finished when it succeeds;
  /// raises as it does.
  void RunClose();

  Companion companion_;
  MemoryLoader load_;
  Memory memory_ = Memory::kUnread;
  /// The folder the memory loads from, and the load on its own thread, until
  /// joined.
  NarrowText folder_;
  std::future<void> loader_;
  /// What the load and the start's rest left: set by the loading thread
  /// until it is joined, then on this one.
  Profile loaded_profile_;
  std::optional<Error> start_failure_;
  /// Lines sent while the memory loads, oldest first.
  std::deque<NarrowText> kept_lines_;
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
