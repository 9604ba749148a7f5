#include "ui/main_window.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <chrono>

#include "conversation/turn.h"
#include "errors/error.h"
#include "errors/failure.h"
#include "os/side_task.h"
#include "qt/announcer.h"
#include "qt/colours.h"
#include "qt/fonts.h"
#include "qt/input_line.h"
#include "qt/shown_text.h"
#include "qt/whole_on_screen.h"
#include "text/literal.h"
#include "ui/message_boxes.h"
#include "ui/support_page.h"
#include "ui/transcript_view.h"
#include "ui/version_dialog.h"

namespace holvan {
namespace {

using namespace holvan::literals;

// How long the memory's load waits for the first frame.
constexpr int kUnpaintedLoadDelayMs = 200;

// Clears a flag when the scope ends, however it ends.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

MainWindow::MainWindow(Platform& platform, QWidget* parent, MemoryLoader load)
    : SavingWindow("holvan", "Holvan", parent,
                   Qt::Window | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                       Qt::MSWindowsFixedSizeDialogHint),
      companion_(*this, platform),
      load_(std::move(load)) {
  setObjectName(QStringLiteral("main_window"));
  setFixedSize(406, 221);
  setPalette(FixedColours(Qt::black));
  setAutoFillBackground(true);
  setFont(WindowFont(12));
  BuildControls();
  BuildPopupMenu();
  SetLook(ConversationLook());
  transcript_->Reload(companion_.transcript().Text());
}

MainWindow::~MainWindow() {
  // A load that never ran (no thread could be made) is not run now.
  if (loader_.valid() && loader_.wait_for(std::chrono::seconds(0)) !=
                             std::future_status::deferred) {
    loader_.wait();
  }
}

void MainWindow::BuildControls() {
  announcer_ = new Announcer(this);
  transcript_ = new TranscriptView(this);
  transcript_->setObjectName(QStringLiteral("transcript"));
  transcript_->setGeometry(6, 8, 395, 177);
  transcript_->setAccessibleName(QStringLiteral("会話"));
  transcript_->setAccessibleDescription(
      QStringLiteral("Holvan とのこれまでの会話。Holvan "
                     "の言ったことは、そのつど通知として読み上げられます"));
  transcript_->setContextMenuPolicy(Qt::CustomContextMenu);
  // A scroll area tells where in its viewport the menu was asked for.
  connect(transcript_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) {
            ShowEditingMenu(transcript_->createStandardContextMenu(),
                            transcript_->viewport()->mapToGlobal(at));
          });

  input_line_ = new InputLine(this);
  input_line_->setObjectName(QStringLiteral("input_line"));
  input_line_->setGeometry(6, 194, 283, 21);
  input_line_->setAccessibleName(QStringLiteral("入力欄"));
  input_line_->setAccessibleDescription(
      QStringLiteral("Holvan に話しかける文。Enter で話します"));
  transcript_->SetTypingTarget(input_line_);
  input_line_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(input_line_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) {
            ShowEditingMenu(input_line_->createStandardContextMenu(),
                            input_line_->mapToGlobal(at));
          });

  talk_button_ = new QPushButton(this);
  talk_button_->setObjectName(QStringLiteral("talk_button"));
  talk_button_->setGeometry(296, 192, 49, 25);
  talk_button_->setDefault(true);
  talk_button_->setAccessibleDescription(
      QStringLiteral("入力欄の文を Holvan に話します"));
  connect(talk_button_, &QPushButton::clicked, this, &MainWindow::Talk);

  exit_button_ = new QPushButton(ShownText("終了"_sj), this);
  exit_button_->setObjectName(QStringLiteral("exit_button"));
  exit_button_->setGeometry(352, 192, 49, 25);
  // Enter on the focused Exit button presses it rather than Talk.
  exit_button_->setAutoDefault(true);
  exit_button_->setAccessibleDescription(
      QStringLiteral("記憶を保存して Holvan を終了します"));
  connect(exit_button_, &QPushButton::clicked, this, &MainWindow::Exit);

  setTabOrder(input_line_, transcript_);
  setTabOrder(transcript_, talk_button_);
  setTabOrder(talk_button_, exit_button_);

  idle_timer_ = new QTimer(this);
  idle_timer_->setObjectName(QStringLiteral("idle_timer"));
  idle_timer_->setTimerType(Qt::PreciseTimer);
  idle_timer_->setInterval(kIdleRemarkPeriodMs);
  connect(idle_timer_, &QTimer::timeout, this, &MainWindow::IdleTick);
}

void MainWindow::BuildPopupMenu() {
  popup_menu_ = new QMenu(this);
  popup_menu_->setObjectName(QStringLiteral("popup_menu"));
  QMenu* help = popup_menu_->addMenu(ShownText("ヘルプ"_sj));
  help->setObjectName(QStringLiteral("help_menu"));
  help->addAction(ShownText("サポートHP"_sj), this,
                  &MainWindow::OpenSupportPage)
      ->setObjectName(QStringLiteral("support_page_action"));
  help->addAction(ShownText("バージョン情報"_sj), this,
                  &MainWindow::ShowVersion)
      ->setObjectName(QStringLiteral("version_action"));
  popup_menu_->addSeparator()->setObjectName(QStringLiteral("menu_separator"));
  popup_menu_->addAction(ShownText("終了"_sj), this, &MainWindow::Exit)
      ->setObjectName(QStringLiteral("exit_action"));
}

void MainWindow::ShowEditingMenu(QMenu* menu, const QPoint& at) {
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addSeparator();
  // The popup menu's own actions, so that each does exactly what it does
  // there.
  menu->addActions(popup_menu_->actions());
  menu->popup(at);
}

void MainWindow::Start() {
  PlaceWhole(this, {100, 325});
  show();
  activateWindow();
  input_line_->setFocus();
  memory_ = Memory::kLoading;
  folder_ = companion_.BeginStart();
  // The load starts once the first frame is painted (paintEvent), so that
  // the frame waits for no processor the load takes; or after a while, for
  // a window not painted yet (on a workspace not in view).
  QTimer::singleShot(kUnpaintedLoadDelayMs, this, &MainWindow::StartLoading);
}

void MainWindow::StartLoading() {
  if (memory_ != Memory::kLoading || loader_.valid()) return;
  loader_ = StartBeside([this] {
    // Told however the load ends.
    const auto tell = qScopeGuard([this] {
      QMetaObject::invokeMethod(this, &MainWindow::FinishLoading,
                                Qt::QueuedConnection);
    });
    start_failure_ = FailureOf([this] {
      loaded_profile_ = load_(folder_, companion_.stores_to_load());
    });
  });
  // No thread could be made: the load runs here, once the window is shown.
  if (loader_.wait_for(std::chrono::seconds(0)) ==
      std::future_status::deferred) {
    QMetaObject::invokeMethod(this, &MainWindow::FinishLoading,
                              Qt::QueuedConnection);
  }
}

void MainWindow::JoinLoad() {
  if (memory_ != Memory::kLoading) return;
  StartLoading();
  loader_.get();
  if (!start_failure_) {
    start_failure_ = FailureOf(
        [this] { companion_.FinishStart(std::move(loaded_profile_)); });
  }
  memory_ = Memory::kLoaded;
}

void MainWindow::FinishLoading() {
  if (memory_ != Memory::kLoading && memory_ != Memory::kLoaded) return;
  JoinLoad();
  memory_ = Memory::kFinishing;
  // After the end of the program nobody may be there to see the box, and
  // nothing more may be said.
  if (start_failure_ && !finished()) ShowErrorBox(*start_failure_);
  if (!finished()) idle_timer_->start();
  // What was typed after the kept lines stays in the input line.
  const bool typed_since = !input_line_->text().isEmpty();
  while (!kept_lines_.empty() && !finished()) {
    NarrowText line = std::move(kept_lines_.front());
    kept_lines_.pop_front();
    if (RunLine(std::move(line), !typed_since)) break;
  }
  kept_lines_.clear();
  memory_ = Memory::kReady;
  emit Started();
}

std::vector<Error> MainWindow::SaveWork() {
  if (closing_ || quietly_saved_) return {};
  // Only whole stores are saved: a load still running is waited for.
  JoinLoad();
  if (std::optional<Error> failure =
          FailureOf([this] { companion_.SaveQuietly(); })) {
    return {std::move(*failure)};
  }
  quietly_saved_ = true;
  return {};
}

void MainWindow::Finish() {
  SavingWindow::Finish();
  idle_timer_->stop();
}

void MainWindow::RunClose() {
  const FlagScope closing(closing_);
  companion_.Close();
  Finish();
}

void MainWindow::Talk() {
  if (loading()) {
    kept_lines_.push_back(input_line_->Line());
    input_line_->clear();
    input_line_->setFocus();
    return;
  }
  if (RunLine(input_line_->Line(), true)) return;
  // A click on the button took the focus; the next line is typed here.
  input_line_->setFocus();
}

bool MainWindow::RunLine(NarrowText line, bool show_input_line) {
  quietly_saved_ = false;
  typed_line_ = line;
  const TurnRun run = RunTurn(companion_, std::move(line),
                              std::bind_front(&MainWindow::Guarded, this),
                              [this] { RunClose(); });
  if (show_input_line) input_line_->SetLine(run.input_line);
  if (run.closed) close();
  return run.closed;
}

void MainWindow::Exit() { close(); }

void MainWindow::IdleTick() {
  Guarded([this] { companion_.IdleTick(); });
}

void MainWindow::OpenSupportPage() {
  Guarded([this] { OpenSupportPageInBrowser(this); });
}

void MainWindow::ShowVersion() {
  Guarded([this] {
    auto* dialog = new VersionDialog(this);
    dialog->exec();
  });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The close works on the whole memory and after the lines sent before it.
  FinishLoading();
  if (finished()) {
    event->accept();
  } else if (closing_) {
    // The running close decides.
    event->ignore();
  } else if (Guarded([this] { RunClose(); })) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::paintEvent(QPaintEvent* event) {
  SavingWindow::paintEvent(event);
  // After this frame's events, the frame itself included.
  if (memory_ == Memory::kLoading && !loader_.valid()) {
    QMetaObject::invokeMethod(this, &MainWindow::StartLoading,
                              Qt::QueuedConnection);
  }
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  popup_menu_->popup(event->globalPos());
  event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Talk is the default button: Enter that no control took presses it.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    talk_button_->click();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::SetLook(const Look& look) {
  setWindowTitle(ShownText(look.caption));
  talk_button_->setText(ShownText(look.talk_caption));
  transcript_->SetWordWrap(look.word_wrap);
  transcript_->SetArrowPointer(look.arrow_pointer);
}

void MainWindow::TranscriptAppended(std::string_view text,
                                    std::size_t appended_size) {
  transcript_->ShowAppended(text, appended_size);
  // Announced only to a screen reader that listens: a turn without one
  // pays nothing for it.
  if (!QAccessible::isActive()) return;
  std::string_view added =
      text.substr(text.size() - std::min(appended_size, text.size()));
  while (!added.empty() && (added.back() == '\n' || added.back() == '\r')) {
    added.remove_suffix(1);
  }
  // The user's own line, shown back, is not read out to them.
  if (typed_line_ && added.ends_with(*typed_line_)) {
    typed_line_.reset();
    return;
  }
  announcer_->Say(ShownText(added));
}

void MainWindow::TranscriptCleared() { transcript_->Reload({}); }

void MainWindow::TranscriptLoaded(std::string_view text) {
  transcript_->Reload(text);
}

void MainWindow::TranscriptDeleted(std::string_view text, std::size_t begin,
                                   std::size_t length) {
  transcript_->ShowDeleted(text, begin, length);
}

WideRange MainWindow::TranscriptSelection(std::string_view text) {
  return transcript_->Selection(text);
}

bool MainWindow::IdleRemarksEnabled() { return idle_timer_->isActive(); }

void MainWindow::SetIdleRemarksEnabled(bool on) {
  if (on == idle_timer_->isActive()) return;
  if (on) {
    idle_timer_->start();
  } else {
    idle_timer_->stop();
  }
}

void MainWindow::ShowClosingMessage() { ShowClosingBox(this); }

}  // namespace holvan
