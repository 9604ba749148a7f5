#include "ui/main_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "text/cp932.h"
#include "errors/error.h"
#include "text/literal.h"
#include "ui/fonts.h"
#include "ui/input_line.h"
#include "ui/message_boxes.h"
#include "ui/shown_text.h"
#include "ui/support_page.h"
#include "ui/transcript_view.h"
#include "ui/version_form.h"

namespace holvan {
namespace {

using namespace holvan::literals;

constexpr int kIdleRemarkIntervalMs = 5000;

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

TForm1::TForm1(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      companion_(*this, platform) {
  setObjectName(QStringLiteral("Form1"));
  setFixedSize(406, 221);
  move(100, 325);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::black);
  setPalette(colours);
  setAutoFillBackground(true);
  setFont(WindowFont(12));
  BuildControls();
  BuildPopupMenu();
  SetLook(ConversationLook());
  memo1_->Reload(companion_.Transcript().Text());
}

TForm1::~TForm1() = default;

void TForm1::BuildControls() {
  memo1_ = new TranscriptView(this);
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setGeometry(6, 8, 395, 177);

  edit1_ = new InputLine(this);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setGeometry(6, 194, 283, 21);

  button1_ = new QPushButton(this);
  button1_->setObjectName(QStringLiteral("Button1"));
  button1_->setGeometry(296, 192, 49, 25);
  button1_->setDefault(true);
  connect(button1_, &QPushButton::clicked, this, &TForm1::Button1Click);

  button2_ = new QPushButton(ShownText("終了"_sj), this);
  button2_->setObjectName(QStringLiteral("Button2"));
  button2_->setGeometry(352, 192, 49, 25);
  // Enter on the focused Exit button presses it rather than Talk.
  button2_->setAutoDefault(true);
  connect(button2_, &QPushButton::clicked, this, &TForm1::Button2Click);

  setTabOrder(edit1_, memo1_);
  setTabOrder(memo1_, button1_);
  setTabOrder(button1_, button2_);

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setTimerType(Qt::PreciseTimer);
  timer1_->setInterval(kIdleRemarkIntervalMs);
  connect(timer1_, &QTimer::timeout, this, &TForm1::Timer1Timer);
  timer1_->start();
}

void TForm1::BuildPopupMenu() {
  popup_menu1_ = new QMenu(this);
  popup_menu1_->setObjectName(QStringLiteral("PopupMenu1"));
  QMenu* n2 = popup_menu1_->addMenu(ShownText("ヘルプ"_sj));
  n2->setObjectName(QStringLiteral("N2"));
  QAction* hp1 =
      n2->addAction(ShownText("サポートHP"_sj), this, &TForm1::HP1Click);
  hp1->setObjectName(QStringLiteral("HP1"));
  QAction* n5 =
      n2->addAction(ShownText("バージョン情報"_sj), this, &TForm1::N5Click);
  n5->setObjectName(QStringLiteral("N5"));
  popup_menu1_->addSeparator()->setObjectName(QStringLiteral("N3"));
  QAction* exit1 =
      popup_menu1_->addAction(ShownText("終了"_sj), this, &TForm1::Exit1Click);
  exit1->setObjectName(QStringLiteral("Exit1"));
}

void TForm1::Start() {
  // FormCreate runs no event loop before its stores are loaded or marked
  // unread, so no quiet save can come in between.
  started_ = true;
  Guarded([this] { companion_.FormCreate(); });
  // A quit while the error box waited ends the program: nothing to show.
  if (finished_) return;
  show();
  activateWindow();
  edit1_->setFocus();
}

void TForm1::SaveQuietly() {
  if (!started_ || finished_ || closing_ || quietly_saved_) return;
  try {
    companion_.SaveWithoutMessage();
    quietly_saved_ = true;
  } catch (const Error& error) {
    std::fprintf(stderr, "holvan: %s\n", NarrowToUtf8(error.BoxText()).c_str());
  }
}

void TForm1::SaveAndQuit() {
  SaveQuietly();
  finished_ = true;
  timer1_->stop();
  // exit, not quit: quit would ask the window to close, which runs the close
  // with its box.
  QCoreApplication::exit(0);
}

bool TForm1::Guarded(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const Error& error) {
    ShowErrorBox(this, error);
  } catch (const std::bad_alloc&) {
    // What failed to fit is gone again: the window goes on and can still save.
    ShowErrorBox(this, OutOfMemoryError());
  }
  return false;
}

void TForm1::RunFormClose() {
  const FlagScope closing(closing_);
  companion_.FormClose();
  finished_ = true;
  timer1_->stop();
}

void TForm1::Button1Click() {
  quietly_saved_ = false;
  Guarded([this] { companion_.Button1Click(); });
  if (companion_.close_requested() && Guarded([this] { RunFormClose(); })) {
    close();
  }
}

void TForm1::Button2Click() { close(); }

void TForm1::Exit1Click() { close(); }

void TForm1::Timer1Timer() {
  Guarded([this] { companion_.Timer1Timer(); });
}

void TForm1::HP1Click() {
  Guarded([] { OpenSupportPage(); });
}

void TForm1::N5Click() {
  Guarded([this] {
    auto* form2 = new TForm2(this);
    form2->exec();
  });
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (finished_) {
    event->accept();
  } else if (closing_) {
    // The running close decides.
    event->ignore();
  } else if (Guarded([this] { RunFormClose(); })) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
  popup_menu1_->popup(event->globalPos());
  event->accept();
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  // Talk is the default button: Enter that no control took presses it.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    button1_->click();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

NarrowText TForm1::InputText() { return edit1_->Line(); }

void TForm1::SetInputText(const NarrowText& text) { edit1_->SetLine(text); }

void TForm1::SetLook(const Look& look) {
  setWindowTitle(ShownText(look.caption));
  button1_->setText(ShownText(look.talk_caption));
  memo1_->SetWordWrap(look.word_wrap);
  memo1_->SetArrowPointer(look.arrow_pointer);
}

void TForm1::TranscriptAppended(std::string_view text,
                                std::size_t appended_size) {
  memo1_->ShowAppended(text, appended_size);
}

void TForm1::TranscriptCleared() { memo1_->Reload({}); }

void TForm1::TranscriptLoaded(std::string_view text) { memo1_->Reload(text); }

void TForm1::TranscriptDeleted(std::string_view text, std::size_t begin,
                               std::size_t length) {
  memo1_->ShowDeleted(text, begin, length);
}

WideRange TForm1::TranscriptSelection(std::string_view text) {
  return memo1_->Selection(text);
}

bool TForm1::IdleRemarksEnabled() { return timer1_->isActive(); }

void TForm1::SetIdleRemarksEnabled(bool on) {
  if (on == timer1_->isActive()) return;
  if (on) {
    timer1_->start();
  } else {
    timer1_->stop();
  }
}

void TForm1::ShowClosingMessage() { ShowClosingBox(this); }

}  // namespace holvan
