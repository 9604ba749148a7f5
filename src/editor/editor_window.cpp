#include "editor/editor_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTime>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "editor/button_keys.h"
#include "editor/check_report.h"
#include "editor/facts_page.h"
#include "editor/phrases_page.h"
#include "editor/profile_page.h"
#include "editor/save_question.h"
#include "editor/status_line.h"
#include "editor/words_page.h"
#include "errors/failure.h"
#include "memory/backup_scrub.h"
#include "memory/check.h"
#include "memory/places.h"
#include "os/lock_messages.h"
#include "qt/colours.h"
#include "qt/fonts.h"
#include "qt/input_line.h"
#include "qt/message_box.h"
#include "qt/shown_text.h"
#include "qt/whole_on_screen.h"
#include "store/working_folder.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::editor {
namespace {

using memory::MemoryFile;
using memory::MemoryFolder;
using namespace holvan::literals;

/// The window's title, which its boxes carry too.
const NarrowText& Title() { return "記憶の整理"_sj; }

/// An edit refused: its reason, with a warning.
void ShowRefusal(QWidget* parent, const Error& error) {
  ShowBox(parent, QMessageBox::Warning, Title(), error.BoxText());
}

/// The search typed: nothing when it holds a character that code page 932
/// lacks, since no entry can hold one.
Search SearchFor(const QString& text) {
  const std::string utf8 = OneLine(text).toStdString();
  if (!FitsCodePage932(utf8)) return std::nullopt;
  return Utf8ToNarrow(utf8);
}

/// The search's clear button, named for screen readers.
void NameClearAction(QLineEdit* line) {
  auto* action =
      line->findChild<QAction*>(QStringLiteral("_q_qlineeditclearaction"));
  if (action == nullptr) return;
  action->setText(QStringLiteral("検索を消す"));
  action->setToolTip(QStringLiteral("検索を消す（Esc）"));
}

QPushButton* AddButton(QWidget* parent, QHBoxLayout* row, const QString& text,
                       const char* name) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  row->addWidget(button);
  return button;
}

}  // namespace

EditorWindow::EditorWindow(std::optional<std::string> dir, QWidget* parent)
    : SavingWindow("holvan-memory-editor", Title(), parent, Qt::Window),
      dir_(std::move(dir)) {
  setObjectName(QStringLiteral("editor_window"));
  setPalette(FixedColoursOnBlack());
  setAutoFillBackground(true);
  setFont(WindowFont(15));
  BuildControls();
  ShowMemory();
}

// The pages' listings read the memory, which goes before them.
EditorWindow::~EditorWindow() { StopListing(); }

bool EditorWindow::searching() const {
  return std::any_of(pages_.begin(), pages_.end(),
                     [](const MemoryPage* page) { return page->Listing(); });
}

void EditorWindow::StopListing() {
  for (MemoryPage* page : pages_) page->StopListing();
}

void EditorWindow::StepTab(int step) {
  const int count = tabs_->count();
  tabs_->setCurrentIndex((tabs_->currentIndex() + step + count) % count);
}

void EditorWindow::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  read_only_bar_ = BuildReadOnlyBar();
  layout->addWidget(read_only_bar_);

  auto* search_row = new QHBoxLayout;
  auto* search_label = new QLabel(QStringLiteral("検索"), this);
  search_box_ = new InputLine(this);
  search_box_->setObjectName(QStringLiteral("search_box"));
  search_box_->setPlaceholderText(
      QStringLiteral("言葉・説明・意味・発言から探します（すべてのタブ）"));
  search_box_->setAccessibleName(QStringLiteral("検索"));
  search_box_->setAccessibleDescription(QStringLiteral(
      "言葉・説明・意味・発言から探します（すべてのタブ）。Esc で消します"));
  search_box_->setClearButtonEnabled(true);
  NameClearAction(search_box_);
  auto* clear = new QAction(search_box_);
  clear->setShortcut(QKeySequence(Qt::Key_Escape));
  clear->setShortcutContext(Qt::WidgetShortcut);
  connect(clear, &QAction::triggered, search_box_, &QLineEdit::clear);
  search_box_->addAction(clear);
  search_label->setBuddy(search_box_);
  connect(search_box_, &QLineEdit::textChanged, this, [this] { ShowMemory(); });
  search_row->addWidget(search_label);
  search_row->addWidget(search_box_);
  layout->addLayout(search_row);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabs"));
  tabs_->setAccessibleName(QStringLiteral("記憶の種類"));
  // No pane: the pages lie on the window's black, as its other controls do.
  tabs_->setDocumentMode(true);
  // The tabs are drawn light, as buttons are: black text on them.
  tabs_->tabBar()->setPalette(FixedColours(Qt::black));
  pages_ = {new FactsPage(*this, tabs_), new WordsPage(*this, tabs_),
            new PhrasesPage(*this, tabs_), new ProfilePage(*this, tabs_)};
  const QString titles[] = {
      QStringLiteral("辞書"), QStringLiteral("覚えた言葉"),
      QStringLiteral("発言の記録"), QStringLiteral("プロフィール")};
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    tabs_->addTab(pages_[i], titles[i]);
  }
  layout->addWidget(tabs_, 1);
  // The tabs are changed from anywhere by Ctrl+Tab; Tab goes from the
  // search straight to the list.
  tabs_->tabBar()->setFocusPolicy(Qt::ClickFocus);
  const std::pair<QKeySequence, int> steps[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1}};
  for (const auto& [keys, step] : steps) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this,
            [this, step = step] { StepTab(step); });
  }

  auto* buttons = new QHBoxLayout;
  undo_button_ =
      AddButton(this, buttons, QStringLiteral("元に戻す"), "undo_button");
  undo_button_->setShortcut(QKeySequence::Undo);
  connect(undo_button_, &QPushButton::clicked, this, [this] { Undo(); });
  check_button_ =
      AddButton(this, buttons, QStringLiteral("検査"), "check_button");
  Describe(check_button_, QStringLiteral("記憶の問題を探して一覧にします"));
  connect(check_button_, &QPushButton::clicked, this, [this] { Check(); });
  buttons->addStretch();
  save_button_ =
      AddButton(this, buttons, QStringLiteral("保存"), "save_button");
  save_button_->setShortcut(QKeySequence::Save);
  Describe(save_button_, QStringLiteral("変更をファイルに書きます"),
           save_button_->shortcut());
  connect(save_button_, &QPushButton::clicked, this, [this] { Save(); });
  QPushButton* close_button =
      AddButton(this, buttons, QStringLiteral("閉じる"), "close_button");
  close_button->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  Describe(close_button, QStringLiteral("記憶の整理を閉じます"),
           close_button->shortcut());
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  layout->addLayout(buttons);

  status_label_ = new StatusLine(this);
  status_label_->setObjectName(QStringLiteral("status_label"));
  status_label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(status_label_);
}

QWidget* EditorWindow::BuildReadOnlyBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName(QStringLiteral("read_only_bar"));
  // The tooltip's pair: dark text on pale yellow, seen at once on black.
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
  colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
  bar->setPalette(colours);
  bar->setAutoFillBackground(true);
  reason_label_ = new QLabel(bar);
  reason_label_->setObjectName(QStringLiteral("read_only_reason"));
  reason_label_->setWordWrap(true);
  // Wrapped to the window's width: a long folder in it never widens the
  // window past the screen.
  reason_label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* reload = new QPushButton(QStringLiteral("再読み込み"), bar);
  reload->setObjectName(QStringLiteral("reload_button"));
  reload->setAutoDefault(false);
  connect(reload, &QPushButton::clicked, this, [this] { Load(true); });
  auto* row = new QHBoxLayout(bar);
  row->addWidget(reason_label_, 1);
  row->addWidget(reload);
  return bar;
}

void EditorWindow::Start() {
  Load(false);
  // A quit while an error box waited ends the program: nothing to show.
  if (finished()) return;
  Place();
  show();
  activateWindow();
  search_box_->setFocus();
}

void EditorWindow::Place() {
  const QRect available = screen()->availableGeometry();
  // Room for a few dozen entries at any scale, within the screen.
  const int em = fontMetrics().horizontalAdvance(QChar(0x3042));
  resize(QSize(em * 56, em * 40)
             .boundedTo(available.size() * 9 / 10)
             .expandedTo(minimumSizeHint()));
  PlaceWhole(this, available.center() - rect().center());
}

void EditorWindow::Load(bool reloading) {
  std::optional<FolderLock> lock;
  std::optional<MemoryFolder> memory;
  QString hint;
  const std::optional<Error> failure = FailureOf([&] {
    const std::string folder = memory::MemoryFolderToUse(dir_);
    FolderLock taken = ClaimWorkingFolder(folder);
    if (taken.held()) {
      // Held before reading, so that nothing changes what was read.
      memory = MemoryFolder::OpenForEditing(folder);
      lock = std::move(taken);
    } else if (taken.busy()) {
      memory = MemoryFolder::OpenReadOnly(
          folder, memory::FolderInUseReason(taken.holder()));
      // The reason names the holder when it is known.
      hint = taken.holder()
                 ? QStringLiteral("終了したら「再読み込み」を押してください。")
                 : QStringLiteral(
                       "Holvan を終了してから「再読み込み」を押してください。");
    } else {
      memory = MemoryFolder::OpenReadOnly(folder,
                                          UnlockedEditMessage(folder, taken));
    }
  });
  if (!failure) StopListing();
  if (failure) {
    // What was read before stays to look at.
    load_failure_ = QStringLiteral("記憶を読み込めませんでした: ") +
                    ShownText(failure->BoxText());
  } else {
    load_failure_.clear();
    memory_ = std::move(memory);
    lock_ = std::move(lock);
    read_only_hint_ = hint;
  }
  // A reload that changes nothing says so, lest the button seem dead.
  note_ =
      reloading && !(memory_ && memory_->editable())
          ? QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) +
                QStringLiteral(" に再読み込みしました。まだ読み取り専用です")
          : QString();
  ShowMemory();
  if (failure) ShowErrorBox(*failure);
}

bool EditorWindow::Editable() const {
  return memory_ && memory_->editable() && load_failure_.isEmpty();
}

void EditorWindow::ShowMemory() {
  const bool loaded = memory_.has_value();
  const bool editable = Editable();
  read_only_bar_->setVisible(!editable);
  if (!load_failure_.isEmpty()) {
    reason_label_->setText(load_failure_);
  } else if (loaded && !editable) {
    reason_label_->setText(
        QStringLiteral("読み取り専用です: ") +
        ShownText(memory_->read_only_reason()) + QStringLiteral("。") +
        (read_only_hint_.isEmpty() ? QString()
                                   : QStringLiteral("\n") + read_only_hint_));
  }
  setWindowTitle(editable ? QStringLiteral("記憶の整理[*]")
                          : QStringLiteral("記憶の整理（読み取り専用）[*]"));

  search_box_->setEnabled(loaded);
  tabs_->setEnabled(loaded);
  const Search search = SearchFor(search_box_->text());
  for (MemoryPage* page : pages_) {
    page->SetEditable(editable);
    if (loaded) page->Show(*memory_, search);
  }
  check_button_->setEnabled(loaded);
  ShowUnsaved();
}

void EditorWindow::ShowUnsaved() {
  const bool editable = Editable();
  const bool unsaved = editable && !UnsavedWork().empty();
  setWindowModified(unsaved);
  undo_button_->setEnabled(editable && memory_->CanUndo());
  Describe(undo_button_,
           undo_button_->isEnabled()
               ? QStringLiteral("元に戻す: ") + ShownText(memory_->LastEdit())
               : QStringLiteral("最後の変更を元に戻します"),
           undo_button_->shortcut());
  save_button_->setEnabled(unsaved);
  if (!memory_) {
    status_label_->SetText(QString());
    return;
  }
  QString status = QStringLiteral("フォルダ: ") +
                   QFile::decodeName(memory_->folder().c_str());
  if (unsaved) status += QStringLiteral("　保存していない変更があります");
  if (unsaved && memory_->CanUndo()) {
    status += QStringLiteral("（最後: ") + ShownText(memory_->LastEdit()) +
              QStringLiteral("）");
  }
  // A reload that changes nothing says so, lest the button seem dead; a save
  // says what it did to the backups.
  if (!unsaved && !note_.isEmpty()) {
    status += QStringLiteral("　") + note_;
  }
  status_label_->SetText(status);
}

std::vector<std::function<void(MemoryFolder&)>> EditorWindow::TypedEdits()
    const {
  std::vector<std::function<void(MemoryFolder&)>> edits;
  for (const MemoryPage* page : pages_) {
    if (auto edit = page->TypedEdit()) edits.push_back(std::move(edit));
  }
  return edits;
}

std::vector<MemoryFile> EditorWindow::UnsavedWork() const {
  if (!memory_) return {};
  std::vector<MemoryFile> files = memory_->UnsavedFiles();
  for (const MemoryPage* page : pages_) {
    if (page->TypedEdit()) files.push_back(page->file());
  }
  std::sort(files.begin(), files.end());
  files.erase(std::unique(files.begin(), files.end()), files.end());
  return files;
}

bool EditorWindow::Edit(const std::function<void(MemoryFolder&)>& edit) {
  if (!memory_) return false;
  StopListing();
  const std::optional<Error> refusal = FailureOf([&] { edit(*memory_); });
  ShowMemory();
  if (refusal) {
    QWidget* dialog = QApplication::activeModalWidget();
    ShowRefusal(dialog != nullptr ? dialog : this, *refusal);
  }
  return !refusal;
}

void EditorWindow::TypedChanged() { ShowUnsaved(); }

void EditorWindow::Undo() {
  if (!memory_) return;
  StopListing();
  memory_->Undo();
  ShowMemory();
}

bool EditorWindow::Save() {
  if (!memory_) return false;
  for (const auto& typed : TypedEdits()) {
    if (!Edit(typed)) return false;
  }
  for (;;) {
    StopListing();
    const std::optional<Error> failure = FailureOf([this] { memory_->Save(); });
    Guarded([this] { note_ = ErasePhrasesFromBackups(); });
    ShowMemory();
    if (!failure) {
      edits_lost_ = false;
      return true;
    }
    // The files that no other program changed are saved by now.
    std::vector<MemoryFile> changed;
    if (!Guarded([&] { changed = memory_->ChangedFiles(); })) return false;
    if (changed.empty()) {
      ShowErrorBox(*failure);
      return false;
    }
    const MemoryFile file = changed.front();
    if (!AskToReload(this, file)) return false;
    std::vector<NarrowText> not_redone;
    StopListing();
    const bool reloaded = Guarded([&] { not_redone = memory_->Reload(file); });
    ShowMemory();
    if (!reloaded) return false;
    if (!not_redone.empty()) TellNotRedone(this, file, not_redone);
  }
}

void EditorWindow::Check() {
  if (!memory_) return;
  std::vector<memory::Problem> problems;
  if (!Guarded([&] { problems = memory::CheckMemory(*memory_); })) return;
  const std::optional<memory::Problem> chosen = ShowCheckReport(this, problems);
  if (!chosen) return;
  for (MemoryPage* page : pages_) {
    if (page->file() != chosen->file) continue;
    tabs_->setCurrentWidget(page);
    // An entry the search hides is shown again.
    if (!page->GoToLine(chosen->line) && !search_box_->text().isEmpty()) {
      search_box_->clear();
      page->GoToLine(chosen->line);
    }
  }
}

std::vector<Error> EditorWindow::SaveWork() {
  if (!memory_ || !memory_->editable()) return {};
  const auto typed = TypedEdits();
  if (typed.empty() && memory_->UnsavedFiles().empty()) return {};
  StopListing();
  std::vector<Error> failures;
  const auto run = [&](const std::function<void()>& step) {
    if (std::optional<Error> failure = FailureOf(step)) {
      failures.push_back(std::move(*failure));
    }
  };
  for (const auto& edit : typed) run([&] { edit(*memory_); });
  // Every file that can be saved is: one that another program changed
  // meanwhile stops no other.
  run([this] { memory_->Save(); });
  run([this] { note_ = ErasePhrasesFromBackups(); });
  edits_lost_ = !failures.empty();
  // A desktop session's end that another program cancels leaves the window
  // open.
  ShowMemory();
  return failures;
}

QString EditorWindow::ErasePhrasesFromBackups() {
  const std::vector<NarrowText> phrases = memory_->TakeErasedPhrases();
  if (phrases.empty()) return note_;
  const std::optional<std::string> root =
      memory::BackupsFolderFor(memory_->folder(), std::nullopt);
  if (!root) {
    return QStringLiteral(
        "バックアップの場所がわからないので、消した発言はバックアップに残って"
        "います");
  }
  const memory::PhrasesRemoved removed =
      memory::RemovePhrasesFromBackups(*root, phrases);
  QString note = removed.backups > 0
                     ? QStringLiteral(
                           "消した発言をバックアップ %1 個からも"
                           "消しました")
                           .arg(removed.backups)
                     : QStringLiteral(
                           "消した発言はバックアップにありません"
                           "でした");
  if (!removed.left.empty()) {
    note += QStringLiteral("（Holvan の印のないフォルダには残っています: ") +
            QFile::decodeName(removed.left.front().c_str()) +
            (removed.left.size() > 1 ? QStringLiteral(" ほか") : QString()) +
            QStringLiteral("）");
  }
  return note;
}

void EditorWindow::closeEvent(QCloseEvent* event) {
  if (!finished() && memory_ && memory_->editable()) {
    const std::vector<MemoryFile> unsaved = UnsavedWork();
    if (!unsaved.empty()) {
      switch (AskToSave(this, unsaved)) {
        case SaveAnswer::kSave:
          if (!Save()) {
            event->ignore();
            return;
          }
          break;
        case SaveAnswer::kDiscard:
          break;
        case SaveAnswer::kCancel:
          event->ignore();
          return;
      }
    }
    edits_lost_ = false;
  }
  Finish();
  event->accept();
}

}  // namespace holvan::editor
