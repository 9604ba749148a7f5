// 「記憶の整理」 driven as a user drives it: the search, the edits of each
// kind and their undo, the bytes a save writes, the question at a close, the
// folder's lock both ways with holvan-term and with a second editor, the check
// report, and its colours under a dark theme.

#include "editor/editor_window.h"

#include <pwd.h>
#include <sys/fsuid.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

#include "../reliability/term_driver.h"
#include "editor/entry_list.h"
#include "editor/status_line.h"
#include "memory/backups.h"
#include "qt/colours.h"
#include "qt/window_test_support.h"
#include "support/file_faults.h"
#include "support/waiting.h"
#include "text/cp932.h"

namespace holvan::testing {
namespace {

using editor::EditorWindow;
using editor::EntryList;

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Answers the modal boxes and dialogs that open, one answer each, in turn:
// a dialog opened again after a box counts as a new one. Once every answer
// is given, one more is closed unanswered (its text still noted), so that a
// test fails rather than waits for ever.
class Answers : public QObject {
 public:
  using Answer = std::function<void(QWidget*)>;

  explicit Answers(std::vector<Answer> answers) : answers_(std::move(answers)) {
    connect(&timer_, &QTimer::timeout, this, &Answers::Look);
    timer_.start(10);
  }

  bool done() const { return next_ == answers_.size(); }
  /// The texts of the message boxes answered.
  QStringList texts;

 private:
  void Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != answered_) answered_ = nullptr;
    if (modal == nullptr || !modal->isVisible() || modal == answered_) return;
    answered_ = modal;
    if (auto* box = qobject_cast<QMessageBox*>(modal))
      texts.append(box->text());
    if (done()) {
      // One more than the answers: closed, so that the test goes on to fail.
      modal->close();
      return;
    }
    answers_[next_++](modal);
    // Left open by an answer that failed: closed, so that the test ends.
    if (QTest::currentTestFailed() && answered_ && answered_->isVisible()) {
      answered_->close();
    }
  }

  std::vector<Answer> answers_;
  std::size_t next_ = 0;
  // Tracked, so that a box made where one just ended counts as new.
  QPointer<QWidget> answered_;
  QTimer timer_;
};

// Types the texts into the dialog's fields (nothing leaves one as it is),
// then presses OK: once this answer has returned, since a refusal's box
// opens over the dialog while OK is pressed.
Answers::Answer Fill(std::vector<std::optional<QString>> texts) {
  return [texts](QWidget* dialog) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (!texts[i]) continue;
      auto* field =
          dialog->findChild<QLineEdit*>(QStringLiteral("field_%1").arg(i + 1));
      QVERIFY(field);
      field->setText(*texts[i]);
    }
    QMetaObject::invokeMethod(
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
        &QAbstractButton::click, Qt::QueuedConnection);
  };
}

// Presses the message box's button of that text.
Answers::Answer Press(const char* text) {
  return [text = Q(text)](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box);
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == text) {
        button->click();
        return;
      }
    }
    QFAIL(qPrintable(QStringLiteral("no button ") + text));
  };
}

class EditorWindowTest : public QObject {
  Q_OBJECT

 private:
  // The memory files: an invalid byte, lone CR and LF breaks and last lines
  // without a break, which no edit may change.
  void WriteMemory() {
    folder_->WriteBytes(
        QStringLiteral("dic.dat"),
        Sj("東京*日本の首都\r\n") + "\x82\xFF*" + Sj("壊れた行\n大阪*西の都"));
    folder_->WriteBytes(QStringLiteral("brain.dat"),
                        Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n"
                           "猫＝哺乳類＊動物\r\n犬＝動物\r"));
    folder_->WriteBytes(QStringLiteral("res.dat"),
                        Sj("こんにちは\r\nパスワードは1234\nさようなら"));
    folder_->WriteBytes(QStringLiteral("holv.dat"),
                        Sj("太郎\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
    folder_->WriteBytes(QStringLiteral("diary.dat"), Sj("日記\r\n"));
  }

  std::string Bytes(const char* name) const {
    return folder_->ReadBytes(QString::fromLatin1(name));
  }

  // Every memory file's bytes, in order.
  std::vector<std::string> AllBytes() const {
    return {Bytes("dic.dat"), Bytes("brain.dat"), Bytes("res.dat"),
            Bytes("holv.dat"), Bytes("diary.dat")};
  }

  void Open() {
    window_ =
        std::make_unique<EditorWindow>(folder_->File(QString()).toStdString());
    window_->Start();
  }

  template <typename T>
  T* Find(const char* name) const {
    T* found = window_->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) qWarning("no %s", name);
    return found;
  }

  EntryList* List(const char* name) const { return Find<EntryList>(name); }
  QPushButton* Button(const char* name) const {
    return Find<QPushButton>(name);
  }

  // A list as a user reads it: its tab shown, since a hidden page lists its
  // lines once it is shown.
  EntryList* Shown(const char* name) const {
    EntryList* list = List(name);
    auto* tabs = Find<QTabWidget>("tabs");
    for (int i = 0; i < tabs->count(); ++i) {
      if (tabs->widget(i)->isAncestorOf(list)) tabs->setCurrentIndex(i);
    }
    return list;
  }
  int Rows(const char* list) const { return Shown(list)->model()->rowCount(); }
  // The text of a cell of a list, as shown.
  QString Cell(const char* list, int row, int column) const {
    const QAbstractItemModel* model = Shown(list)->model();
    return model->data(model->index(row, column)).toString();
  }

  void Search(const char* text) {
    Find<QLineEdit>("search_box")->setText(Q(text));
  }

  void ShowTab(int index) { Find<QTabWidget>("tabs")->setCurrentIndex(index); }

  // Whether the status line says that 再読み込み left the memory read-only.
  static bool StatusSaysStillReadOnly(const EditorWindow& window) {
    return window.findChild<QLabel*>(QStringLiteral("status_label"))
        ->text()
        .contains(Q("に再読み込みしました。まだ読み取り専用です"));
  }

  std::unique_ptr<WorkFolder> folder_;
  std::unique_ptr<EditorWindow> window_;

 private slots:
  // This program runs the editor's window: the kernel knows it by the name it
  // keeps for holvan-memory-editor.
  void initTestCase() { ::prctl(PR_SET_NAME, "holvan-memory-editor"); }

  void init() {
    folder_ = std::make_unique<WorkFolder>();
    WriteMemory();
  }

  void cleanup() {
    if (window_) {
      // Discards what a failed test left unsaved.
      Answers discard({Press("保存しない")});
      window_->close();
      window_.reset();
    }
    folder_.reset();
  }

  // Each character typed narrows every list at once, by characters of any
  // key or text; a character that code page 932 lacks finds nothing.
  void SearchFiltersEveryListAsItIsTyped() {
    Open();
    QCOMPARE(Rows("facts_list"), 3);
    // The bytes 0x82 0xFF are no character: each shows as U+FFFD.
    QCOMPARE(Cell("facts_list", 1, 1), QString(2, QChar(0xFFFD)));
    Search("都");
    QCOMPARE(Rows("facts_list"), 2);
    QCOMPARE(Cell("facts_list", 0, 1), Q("東京"));
    QCOMPARE(Cell("facts_list", 1, 0), QStringLiteral("3"));
    Search("動物");
    QCOMPARE(Rows("facts_list"), 0);
    QCOMPARE(Rows("words_list"), 2);
    QCOMPARE(Cell("words_list", 0, 1), Q("猫"));
    QCOMPARE(Cell("words_list", 0, 2), Q("哺乳類 ＊ 動物"));
    Search("パスワード");
    QCOMPARE(Rows("phrases_list"), 1);
    QCOMPARE(Cell("phrases_list", 0, 0), QStringLiteral("2"));
    Search("🐱");
    QCOMPARE(Rows("facts_list") + Rows("words_list") + Rows("phrases_list"), 0);
    Search("");
    QCOMPARE(Rows("phrases_list"), 3);
  }

  // A list longer than what is searched at once fills beside the window, in
  // line order, with what the latest search finds; an entry removed while it
  // fills leaves the one that took its line selected once that one comes.
  void LongListsFillBesideTheWindow() {
    constexpr int kLines = 40000;
    std::vector<std::string> phrases;
    for (int i = 1; i <= kLines; ++i) {
      phrases.push_back((i % 1000 == 0 ? "猫 " : "犬 ") + std::to_string(i));
    }
    folder_->WriteLines(QStringLiteral("res.dat"), phrases);
    Open();
    ShowTab(2);
    const auto listed = [this] { return !window_->searching(); };
    QTRY_VERIFY_WITH_TIMEOUT(listed(), kPatienceMs);
    QCOMPARE(Rows("phrases_list"), kLines);
    // The line column holds the last line's number, far below the rows in
    // sight when it was fitted.
    const EntryList* phrases_list = List("phrases_list");
    QVERIFY(
        phrases_list->columnWidth(0) >
        phrases_list->fontMetrics().horizontalAdvance(QString::number(kLines)));

    for (const char* typed : {"猫", "猫が", "猫"}) Search(typed);
    QTRY_VERIFY_WITH_TIMEOUT(listed(), kPatienceMs);
    QCOMPARE(Rows("phrases_list"), kLines / 1000);
    for (int row = 0; row < kLines / 1000; ++row) {
      QCOMPARE(Cell("phrases_list", row, 0), QString::number((row + 1) * 1000));
    }

    Search("");
    QTRY_VERIFY_WITH_TIMEOUT(List("phrases_list")->SelectLine(30000),
                             kPatienceMs);
    QTest::keyClick(List("phrases_list"), Qt::Key_Delete);
    QTRY_VERIFY_WITH_TIMEOUT(listed(), kPatienceMs);
    QCOMPARE(Rows("phrases_list"), kLines - 1);
    QCOMPARE(List("phrases_list")->CurrentLine(),
             std::optional<int32_t>(30000));
    QCOMPARE(Cell("phrases_list", 29999, 1), Q("犬 30001"));
  }

  // A fact changed, a definition and a phrase removed and the name changed
  // write, at 保存 and not before, exactly those lines: every other byte
  // stays, breaks, invalid bytes and the untouched diary included.
  void SaveWritesOnlyTheEditedLines() {
    Open();
    const std::vector<std::string> before = AllBytes();

    QVERIFY(List("facts_list")->SelectLine(3));
    {
      Answers answers({Fill({std::nullopt, Q("商人の都")})});
      Button("change_fact_button")->click();
      QVERIFY(answers.done());
    }
    ShowTab(1);
    QVERIFY(List("words_list")->SelectLine(3));
    QCOMPARE(Rows("definitions_list"), 2);
    QVERIFY(List("definitions_list")->SelectLine(1));
    Button("remove_definition_button")->click();
    QCOMPARE(Cell("definitions_list", 0, 0), Q("動物"));
    ShowTab(2);
    QVERIFY(List("phrases_list")->SelectLine(2));
    QTest::keyClick(List("phrases_list"), Qt::Key_Delete);
    QCOMPARE(Rows("phrases_list"), 2);
    ShowTab(3);
    Find<QLineEdit>("name_field")->setText(Q("花子"));
    Button("rename_button")->click();

    QCOMPARE(AllBytes(), before);
    QVERIFY(window_->isWindowModified());
    Button("save_button")->click();
    QVERIFY(!window_->isWindowModified());
    QVERIFY(!Button("save_button")->isEnabled());
    QCOMPARE(Bytes("dic.dat"), Sj("東京*日本の首都\r\n") + "\x82\xFF*" +
                                   Sj("壊れた行\n大阪*商人の都"));
    QCOMPARE(Bytes("brain.dat"), Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n"
                                    "猫＝動物\r\n犬＝動物\r"));
    QCOMPARE(Bytes("res.dat"), Sj("こんにちは\r\nさようなら"));
    QCOMPARE(Bytes("holv.dat"), Sj("花子\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
    QCOMPARE(Bytes("diary.dat"), before[4]);
  }

  // A phrase deleted and saved goes from every backup of the user's memory
  // too, and the status line says from how many; one deleted and taken back
  // by 元に戻す stays in them.
  void DeletedPhrasesGoFromTheBackupsToo() {
    QTemporaryDir home;
    const std::string data =
        home.filePath(QStringLiteral("data")).toStdString();
    const std::string state =
        home.filePath(QStringLiteral("state")).toStdString();
    const std::string root = state + "/holvan/backups";
    QVERIFY(::mkdir(data.c_str(), 0700) == 0);
    // The user's memory folder, whose backups are the user's own.
    const std::string memory = folder_->File(QString()).toStdString();
    QVERIFY(::symlink(memory.c_str(), (data + "/holvan").c_str()) == 0);
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data));
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state));
    for (const char* name : {"2026-12-06", "2026-12-07"}) {
      memory::TakeBackup(memory, root, name, false, 1);
    }
    Open();
    ShowTab(2);
    for (int32_t line : {2, 1}) {
      QVERIFY(List("phrases_list")->SelectLine(line));
      QTest::keyClick(List("phrases_list"), Qt::Key_Delete);
    }
    Button("undo_button")->click();
    Button("save_button")->click();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_STATE_HOME");
    QVERIFY(Find<editor::StatusLine>("status_label")
                ->FullText()
                .contains(Q("消した発言をバックアップ 2 個からも消しました")));
    for (const char* name : {"2026-12-06", "2026-12-07"}) {
      QFile backed_up(QString::fromStdString(root + "/" + name + "/res.dat"));
      QVERIFY(backed_up.open(QIODevice::ReadOnly));
      QCOMPARE(backed_up.readAll().toStdString(),
               Sj("こんにちは\r\nさようなら"));
    }
  }

  // Adding: a fact, a word, a definition made the newest. A text with a
  // character that code page 932 lacks, or a key the dictionary has, is
  // refused with its reason, and the dialog opens again with what was typed.
  void AddsAndRefusesWhatCannotBeStored() {
    Open();
    {
      Answers answers({Fill({Q("猫🐱"), Q("動物")}), Press("OK"),
                       Fill({Q("東京"), std::nullopt}), Press("OK"),
                       Fill({Q("名古屋"), std::nullopt})});
      Button("add_fact_button")->click();
      QVERIFY(answers.done());
      QCOMPARE(answers.texts.size(), 2);
      QVERIFY(answers.texts[0].contains(Q("コードページ 932 にない文字")));
      QVERIFY(answers.texts[1].contains(Q("「東京」は dic.dat の 1 行目")));
    }
    QCOMPARE(Rows("facts_list"), 4);
    QCOMPARE(List("facts_list")->CurrentLine(), std::optional<int32_t>(4));
    QCOMPARE(Cell("facts_list", 3, 2), Q("動物"));

    ShowTab(1);
    {
      Answers answers({Fill({Q("鳥"), Q("空を飛ぶ")})});
      Button("add_word_button")->click();
      QVERIFY(answers.done());
    }
    QCOMPARE(List("words_list")->CurrentLine(), std::optional<int32_t>(5));
    {
      Answers answers({Fill({Q("卵を産む")})});
      Button("add_definition_button")->click();
      QVERIFY(answers.done());
    }
    QCOMPARE(Cell("definitions_list", 0, 0), Q("卵を産む"));
    Button("save_button")->click();
    QCOMPARE(Bytes("brain.dat"),
             Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n"
                "猫＝哺乳類＊動物\r\n犬＝動物\r鳥＝卵を産む＊空を飛ぶ\r\n"));
    QCOMPARE(Bytes("dic.dat"),
             Sj("東京*日本の首都\r\n") + "\x82\xFF*" +
                 Sj("壊れた行\n大阪*西の都\r\n名古屋*動物\r\n"));
  }

  // 元に戻す takes back the last edit, then the one before; a save ends what
  // can be taken back.
  void UndoTakesBackTheLastEdit() {
    Open();
    QVERIFY(!Button("undo_button")->isEnabled());
    ShowTab(2);
    QVERIFY(List("phrases_list")->SelectLine(1));
    Button("remove_phrase_button")->click();
    ShowTab(1);
    QVERIFY(List("words_list")->SelectLine(4));
    Button("remove_word_button")->click();
    QCOMPARE(Rows("words_list"), 3);
    QVERIFY(Button("undo_button")
                ->toolTip()
                .contains(Q("brain.dat の 4 行目の削除")));

    Button("undo_button")->click();
    QCOMPARE(Rows("words_list"), 4);
    QCOMPARE(Rows("phrases_list"), 2);
    Button("undo_button")->click();
    QCOMPARE(Rows("phrases_list"), 3);
    QVERIFY(!Button("undo_button")->isEnabled());
    QVERIFY(!window_->isWindowModified());

    QVERIFY(List("words_list")->SelectLine(4));
    QTest::keyClick(List("words_list"), Qt::Key_Delete);
    Button("save_button")->click();
    QVERIFY(!Button("undo_button")->isEnabled());
    QCOMPARE(Bytes("brain.dat"), Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n"
                                    "猫＝哺乳類＊動物\r\n"));
  }

  // Closing with unsaved edits asks 保存しますか？: キャンセル keeps the
  // window, 保存しない closes and writes nothing, 保存 writes them and closes.
  void ClosingWithUnsavedEditsAsks() {
    const std::vector<std::string> before = AllBytes();
    Open();
    ShowTab(2);
    QVERIFY(List("phrases_list")->SelectLine(2));
    Button("remove_phrase_button")->click();
    {
      Answers answers({Press("キャンセル")});
      QVERIFY(!window_->close());
      QCOMPARE(answers.texts, QStringList{Q("保存しますか？")});
    }
    QVERIFY(window_->isVisible());
    {
      Answers answers({Press("保存しない")});
      QVERIFY(window_->close());
      QVERIFY(answers.done());
    }
    QCOMPARE(AllBytes(), before);
    window_.reset();

    Open();
    ShowTab(2);
    QVERIFY(List("phrases_list")->SelectLine(2));
    Button("remove_phrase_button")->click();
    {
      Answers answers({Press("保存")});
      QVERIFY(window_->close());
      QVERIFY(answers.done());
    }
    QCOMPARE(Bytes("res.dat"), Sj("こんにちは\r\nさようなら"));
    window_.reset();

    // Nothing unsaved: no question.
    Open();
    Answers none({Press("保存しない")});
    QVERIFY(window_->close());
    QVERIFY(!none.done());
  }

  // The end of the desktop session saves the edits without asking.
  void DesktopSessionEndSavesWithoutAsking() {
    Open();
    ShowTab(2);
    QVERIFY(List("phrases_list")->SelectLine(1));
    Button("remove_phrase_button")->click();
    window_->SaveQuietly();
    QCOMPARE(Bytes("res.dat"), Sj("パスワードは1234\nさようなら"));
    QVERIFY(!window_->isWindowModified());
  }

  // A save without asking that fails keeps the edits and counts them lost,
  // so that the program ends with status 1; a later save, or an answer at
  // the close, settles them.
  void FailedSaveWithoutAskingCountsTheEditsLost() {
    Open();
    ShowTab(2);
    QVERIFY(List("phrases_list")->SelectLine(1));
    Button("remove_phrase_button")->click();
    const std::string before = Bytes("res.dat");
    {
      FileAttribute res(folder_->File(QStringLiteral("res.dat")).toStdString());
      if (!res.ok()) QSKIP("chattr +i is not available on this file system");
      window_->SaveQuietly();
      QVERIFY(window_->edits_lost());
      QVERIFY(window_->isWindowModified());
      QCOMPARE(Bytes("res.dat"), before);
    }
    Button("save_button")->click();
    QVERIFY(!window_->edits_lost());
    QCOMPARE(Bytes("res.dat"), Sj("パスワードは1234\nさようなら"));

    QVERIFY(List("phrases_list")->SelectLine(1));
    Button("remove_phrase_button")->click();
    {
      FileAttribute res(folder_->File(QStringLiteral("res.dat")).toStdString());
      window_->SaveQuietly();
      QVERIFY(window_->edits_lost());
    }
    Answers answers({Press("保存しない")});
    QVERIFY(window_->close());
    QVERIFY(!window_->edits_lost());
  }

  // While holvan-term holds the folder the memory opens to look at only: the
  // reason, naming it, in a bar, every editing control disabled, the files
  // untouched; 再読み込み says when it is still held; once it has ended,
  // 再読み込み opens it for editing.
  void ReadOnlyWhileHolvanTermHoldsTheFolder() {
    const std::string folder = folder_->File(QString()).toStdString();
    auto holvan = std::make_unique<TermDriver>(folder, FixedClock());
    QVERIFY(holvan->WaitOut("太郎"));
    const std::vector<std::string> before = AllBytes();
    Open();

    QVERIFY(Find<QWidget>("read_only_bar")->isVisible());
    QCOMPARE(Find<QLabel>("read_only_reason")->text(),
             Q("読み取り専用です: Holvan の終了後に編集できます（holvan-term、"
               "プロセス ") +
                 QString::number(holvan->pid()) +
                 Q("）。\n終了したら「再読み込み」を押してください。"));
    QVERIFY(window_->windowTitle().contains(Q("読み取り専用")));
    QCOMPARE(Rows("facts_list"), 3);
    QVERIFY(List("facts_list")->SelectLine(1));
    for (const char* name :
         {"add_fact_button", "change_fact_button", "remove_fact_button",
          "add_word_button", "remove_phrase_button", "rename_button",
          "undo_button", "save_button"}) {
      QVERIFY2(!Button(name)->isEnabled(), name);
    }
    QVERIFY(Find<QLineEdit>("name_field")->isReadOnly());
    QTest::keyClick(List("facts_list"), Qt::Key_Delete);
    QCOMPARE(Rows("facts_list"), 3);
    QVERIFY(Button("check_button")->isEnabled());
    QCOMPARE(AllBytes(), before);

    QVERIFY(!StatusSaysStillReadOnly(*window_));
    Button("reload_button")->click();
    QVERIFY(Find<QWidget>("read_only_bar")->isVisible());
    QVERIFY(StatusSaysStillReadOnly(*window_));
    QCOMPARE(holvan->Finish(), 0);
    holvan.reset();
    Button("reload_button")->click();
    QVERIFY(!Find<QWidget>("read_only_bar")->isVisible());
    QVERIFY(Button("add_fact_button")->isEnabled());
    QVERIFY(!window_->windowTitle().contains(Q("読み取り専用")));
    QVERIFY(!StatusSaysStillReadOnly(*window_));
  }

  // A second editor on the folder opens it to look at only, told that the
  // first 記憶の整理 has it; once that one has closed, 再読み込み opens it for
  // editing.
  void ASecondEditorIsToldTheFirstHasTheFolder() {
    Open();
    EditorWindow second(folder_->File(QString()).toStdString());
    second.Start();
    const auto* bar =
        second.findChild<QWidget*>(QStringLiteral("read_only_bar"));
    QVERIFY(bar->isVisible());
    QCOMPARE(
        second.findChild<QLabel*>(QStringLiteral("read_only_reason"))->text(),
        Q("読み取り専用です: 「記憶の整理」（プロセス ") +
            QString::number(::getpid()) +
            Q("）がこのフォルダを使っています。終了後に編集できます。\n"
              "終了したら「再読み込み」を押してください。"));
    auto* reload =
        second.findChild<QPushButton*>(QStringLiteral("reload_button"));
    reload->click();
    QVERIFY(StatusSaysStillReadOnly(second));
    QVERIFY(window_->close());
    window_.reset();
    reload->click();
    QVERIFY(!bar->isVisible());
    QVERIFY(!StatusSaysStillReadOnly(second));
  }

  // Where the folder cannot be locked (it cannot be read, and a folder is in
  // the lock file's place), the memory opens to look at only, and the bar
  // says why.
  void ReadOnlyWhereTheFolderCannotBeLocked() {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr) QSKIP("needs root and nobody");
    const QString folder = folder_->File(QString());
    QVERIFY(QDir(folder).mkdir(QStringLiteral(".holvan.lock")));
    QVERIFY(::chmod(folder.toUtf8().constData(), 0333) == 0);
    // The files as nobody finds them, on this thread.
    ::setfsgid(nobody->pw_gid);
    ::setfsuid(nobody->pw_uid);
    Open();
    ::setfsuid(0);
    ::setfsgid(0);
    QVERIFY(::chmod(folder.toUtf8().constData(), 0700) == 0);
    QVERIFY(Find<QWidget>("read_only_bar")->isVisible());
    QCOMPARE(Find<QLabel>("read_only_reason")->text(),
             Q("読み取り専用です: フォルダ ") + folder +
                 Q(" をロックできません（Is a directory）。"
                   "ロックできないときは編集しません。"));
    QCOMPARE(Rows("facts_list"), 3);
    QVERIFY(!Button("add_fact_button")->isEnabled());
  }

  // While the editor has the memory open, Holvan does not start and touches
  // nothing; once it has closed, Holvan starts.
  void HolvanRefusedWhileTheEditorHoldsTheFolder() {
    const std::string folder = folder_->File(QString()).toStdString();
    Open();
    QVERIFY(!Find<QWidget>("read_only_bar")->isVisible());
    const std::vector<std::string> before = AllBytes();
    const TermResult refused = RunTermOnce(folder, Sj("こんにちは\n"));
    QCOMPARE(refused.status, 3);
    QCOMPARE(refused.err, "「記憶の整理」（プロセス " +
                              std::to_string(::getpid()) +
                              "）がこのフォルダを使っています\n");
    QCOMPARE(AllBytes(), before);
    QVERIFY(window_->close());
    window_.reset();
    QCOMPARE(RunTermOnce(folder, Sj("こんにちは\n")).status, 0);
  }

  // 検査 lists each problem with its file and line; a double click goes to
  // that line in its tab, shown again when the search hid it: a word held
  // twice, and a dictionary line without "*", which no list showed before.
  void CheckReportGoesToTheLine_data() {
    QTest::addColumn<QString>("problem");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("line");
    QTest::newRow("word held twice") << QStringLiteral("brain.dat 4 ") << 1
                                     << QStringLiteral("words_list") << 4;
    QTest::newRow("fact without *") << QStringLiteral("dic.dat 2 ") << 0
                                    << QStringLiteral("facts_list") << 2;
  }

  void CheckReportGoesToTheLine() {
    QFETCH(QString, problem);
    QFETCH(int, tab);
    QFETCH(QString, list);
    QFETCH(int, line);
    folder_->WriteBytes(QStringLiteral("dic.dat"),
                        Sj("東京*日本の首都\r\n京都は古い都\r\n"));
    folder_->WriteBytes(QStringLiteral("brain.dat"),
                        Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n"
                           "猫＝動物\r\n猫＝ペット\r\n"));
    Open();
    ShowTab(2);
    Search("東京");
    QStringList problems;
    Answers answers({[&](QWidget* dialog) {
      auto* shown =
          dialog->findChild<QListWidget*>(QStringLiteral("problems_list"));
      QVERIFY(shown);
      for (int i = 0; i < shown->count(); ++i) {
        problems.append(shown->item(i)->text());
      }
      const QList<QListWidgetItem*> found =
          shown->findItems(problem, Qt::MatchStartsWith);
      if (found.size() == 1) {
        // A double click: a press, then the second press as a double one.
        const QPoint at = shown->visualItemRect(found.front()).center();
        QTest::mouseClick(shown->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(shown->viewport(), Qt::LeftButton, {}, at);
      }
      // Not gone to: closed, so that the test goes on to fail.
      if (dialog->isVisible()) dialog->close();
    }});
    Button("check_button")->click();
    QVERIFY(answers.done());
    QVERIFY2(problems.filter(problem).size() == 1,
             qPrintable(problems.join('\n')));
    QCOMPARE(Find<QTabWidget>("tabs")->currentIndex(), tab);
    QVERIFY(Find<QLineEdit>("search_box")->text().isEmpty());
    QCOMPARE(List(list.toLatin1().constData())->CurrentLine(),
             std::optional<int32_t>(line));
  }

  // Lines that the stores take as no entry, a fact without "*" and a word
  // without "＝", are listed in italics with the check's reason and found
  // by a search; 変更… mends one from what it holds (a text that is still
  // unreadable is refused with that reason), 削除 removes one.
  void UnreadableLinesAreShownFoundAndMended() {
    folder_->WriteBytes(
        QStringLiteral("dic.dat"),
        Sj("東京*日本の首都\r\n京都 古い都\r\n大阪*西の都\r\n"));
    folder_->WriteBytes(QStringLiteral("brain.dat"),
                        Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n"
                           "猫は動物\r\n犬＝動物\r\n"));
    Open();
    QCOMPARE(Rows("facts_list"), 3);
    QCOMPARE(Cell("facts_list", 1, 0), QStringLiteral("2"));
    QCOMPARE(Cell("facts_list", 1, 1), Q("京都 古い都"));
    QCOMPARE(Cell("facts_list", 1, 2),
             Q("読めない行: 「*」がないので、この行は辞書に入りません"));
    const QAbstractItemModel* facts = List("facts_list")->model();
    QVERIFY(
        facts->data(facts->index(1, 1), Qt::FontRole).value<QFont>().italic());
    Search("古い");
    QCOMPARE(Rows("facts_list"), 1);
    QVERIFY(List("facts_list")->SelectLine(2));
    {
      Answers answers({[](QWidget* dialog) {
                         auto* field = dialog->findChild<QLineEdit*>(
                             QStringLiteral("field_1"));
                         QVERIFY(field);
                         QCOMPARE(field->text(), Q("京都 古い都"));
                         Fill({Q("京都は古い")})(dialog);
                       },
                       Press("OK"), Fill({Q("京都*古い都")})});
      QTest::keyClick(List("facts_list"), Qt::Key_Return);
      QVERIFY(answers.done());
      QCOMPARE(answers.texts,
               QStringList{Q("「*」がないので、この行は辞書に入りません.")});
    }
    QCOMPARE(Cell("facts_list", 0, 1), Q("京都"));
    QCOMPARE(Cell("facts_list", 0, 2), Q("古い都"));

    Search("");
    ShowTab(1);
    QCOMPARE(Rows("words_list"), 4);
    QCOMPARE(Cell("words_list", 2, 1), Q("猫は動物"));
    QVERIFY(Cell("words_list", 2, 2).startsWith(Q("読めない行: 「＝」がない")));
    QVERIFY(List("words_list")->SelectLine(3));
    QCOMPARE(Rows("definitions_list"), 0);
    QVERIFY(!Button("add_definition_button")->isEnabled());
    QTest::keyClick(List("words_list"), Qt::Key_Delete);
    QCOMPARE(Rows("words_list"), 3);
    Button("save_button")->click();
    QCOMPARE(Bytes("dic.dat"),
             Sj("東京*日本の首都\r\n京都*古い都\r\n大阪*西の都\r\n"));
    QCOMPARE(Bytes("brain.dat"),
             Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n犬＝動物\r\n"));
  }

  // A name typed in プロフィール but not applied is work to save: the title's
  // star, 保存, the question at the close, and 保存 applies it. 名前を変更
  // with the name as it is changes nothing.
  void ANameTypedButNotAppliedIsSavedOrAskedFor() {
    Open();
    ShowTab(3);
    Button("rename_button")->click();
    QVERIFY(!window_->isWindowModified());
    QVERIFY(!Button("save_button")->isEnabled());
    QVERIFY(!Button("undo_button")->isEnabled());

    auto* name = Find<QLineEdit>("name_field");
    name->setText(Q("花子"));
    QVERIFY(window_->isWindowModified());
    QVERIFY(Button("save_button")->isEnabled());
    {
      Answers answers({Press("キャンセル")});
      QVERIFY(!window_->close());
      QCOMPARE(answers.texts, QStringList{Q("保存しますか？")});
    }
    Button("save_button")->click();
    QCOMPARE(Bytes("holv.dat"), Sj("花子\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
    QVERIFY(!window_->isWindowModified());

    name->setText(Q("次郎"));
    {
      Answers answers({Press("保存")});
      QVERIFY(window_->close());
      QVERIFY(answers.done());
    }
    QCOMPARE(Bytes("holv.dat"), Sj("次郎\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
  }

  // When another program changed a file since the window read it, 保存
  // saves the others and asks: 読み直して保存 reads it again, makes the edits
  // again where their lines are now, tells the one whose line is gone, and
  // saves; 保存しない keeps its edits unsaved.
  void SaveOffersToReadAgainAFileAnotherProgramChanged() {
    Open();
    ShowTab(2);
    QVERIFY(List("phrases_list")->SelectLine(1));
    {
      Answers answers({Fill({Q("やあ")})});
      Button("change_phrase_button")->click();
      QVERIFY(answers.done());
    }
    QVERIFY(List("phrases_list")->SelectLine(2));
    Button("remove_phrase_button")->click();
    ShowTab(3);
    Find<QLineEdit>("name_field")->setText(Q("花子"));
    const std::string renamed = Sj("花子\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
    const std::string other =
        Sj("おはよう\r\nこんにちは!\r\nパスワードは1234\nさようなら");
    folder_->WriteBytes(QStringLiteral("res.dat"), other);
    {
      Answers answers({Press("保存しない")});
      Button("save_button")->click();
      QVERIFY(answers.done());
      QCOMPARE(answers.texts,
               QStringList{Q("res.dat はほかのプログラムが書き換えました")});
    }
    QCOMPARE(Bytes("holv.dat"), renamed);
    QCOMPARE(Bytes("res.dat"), other);
    QVERIFY(window_->isWindowModified());

    QStringList told;
    {
      Answers answers({Press("読み直して保存"), [&](QWidget* modal) {
                         auto* box = qobject_cast<QMessageBox*>(modal);
                         QVERIFY(box);
                         told.append(box->informativeText());
                         box->accept();
                       }});
      Button("save_button")->click();
      QVERIFY(answers.done());
      QCOMPARE(
          answers.texts[1],
          Q("res.dat を読み直しましたが、1 件の変更はやり直せませんでした"));
    }
    QVERIFY(told.front().contains(Q("res.dat の 1 行目の変更")));
    QCOMPARE(Bytes("res.dat"), Sj("おはよう\r\nこんにちは!\r\nさようなら"));
    QVERIFY(!window_->isWindowModified());
  }

  // The end of the desktop session saves every file that no other program
  // changed, and counts the others' edits lost.
  void DesktopSessionEndSavesWhatNoOtherProgramChanged() {
    Open();
    ShowTab(2);
    QVERIFY(List("phrases_list")->SelectLine(2));
    Button("remove_phrase_button")->click();
    ShowTab(3);
    Find<QLineEdit>("name_field")->setText(Q("花子"));
    Button("rename_button")->click();
    folder_->WriteBytes(QStringLiteral("res.dat"), Sj("おはよう\r\n"));
    window_->SaveQuietly();
    QVERIFY(window_->edits_lost());
    QCOMPARE(Bytes("holv.dat"), Sj("花子\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
    QCOMPARE(Bytes("res.dat"), Sj("おはよう\r\n"));
  }

  // 保存 at the close that fails shows why and keeps the window open, with
  // its edits unsaved.
  void AFailedSaveAtTheCloseKeepsTheWindowOpen() {
    Open();
    ShowTab(2);
    QVERIFY(List("phrases_list")->SelectLine(1));
    Button("remove_phrase_button")->click();
    FileAttribute res(folder_->File(QStringLiteral("res.dat")).toStdString());
    if (!res.ok()) QSKIP("chattr +i is not available on this file system");
    SeenModal failure;
    {
      Answers answers(
          {Press("保存"), [&](QWidget* modal) {
             auto* box = qobject_cast<QMessageBox*>(modal);
             QVERIFY(box);
             failure = {{}, box->windowTitle(), box->text(), box->icon()};
             box->accept();
           }});
      QVERIFY(!window_->close());
      QVERIFY(answers.done());
    }
    QVERIFY(window_->isVisible());
    QVERIFY(window_->isWindowModified());
    QCOMPARE(failure.title, Q("記憶の整理"));
    QCOMPARE(failure.icon, QMessageBox::Critical);
    QVERIFY(failure.text.contains(QStringLiteral("res.dat")));
    res.Lift();
    Answers answers({Press("保存")});
    QVERIFY(window_->close());
    QCOMPARE(Bytes("res.dat"), Sj("パスワードは1234\nさようなら"));
  }

  // A refused entry's box carries the window's title and a warning, and
  // opens over the dialog, which stays where it was with what was typed.
  void ARefusalOpensOverTheDialogWhereItWas() {
    Open();
    QWidget* dialog = nullptr;
    QPoint place;
    SeenModal refusal;
    bool dialog_shown = false;
    Answers answers(
        {[&](QWidget* modal) {
           dialog = modal;
           place = modal->pos();
           Fill({QString(), Q("説明")})(modal);
         },
         [&](QWidget* modal) {
           auto* box = qobject_cast<QMessageBox*>(modal);
           QVERIFY(box);
           refusal = {{}, box->windowTitle(), box->text(), box->icon()};
           dialog_shown = dialog->isVisible();
           box->accept();
         },
         [&](QWidget* modal) {
           QCOMPARE(modal, dialog);
           QCOMPARE(modal->pos(), place);
           QCOMPARE(
               modal->findChild<QLineEdit*>(QStringLiteral("field_2"))->text(),
               Q("説明"));
           modal->close();
         }});
    Button("add_fact_button")->click();
    QVERIFY(answers.done());
    QCOMPARE(refusal.title, Q("記憶の整理"));
    QCOMPARE(refusal.icon, QMessageBox::Warning);
    QCOMPARE(refusal.text, Q("言葉が空です."));
    QVERIFY(dialog_shown);
  }

  // Every control that Tab reaches, in every tab, has a name a screen
  // reader says, as has the search's clear button.
  void EveryFocusableControlIsNamed() {
    Open();
    Search("都");
    for (int tab = 0; tab < 4; ++tab) {
      ShowTab(tab);
      for (QWidget* widget : window_->findChildren<QWidget*>()) {
        if (!widget->isVisible() || !(widget->focusPolicy() & Qt::TabFocus)) {
          continue;
        }
        QAccessibleInterface* shown =
            QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(shown && !shown->text(QAccessible::Name).isEmpty(),
                 qPrintable(widget->objectName()));
      }
    }
    auto* clear = Find<QLineEdit>("search_box")->findChild<QToolButton*>();
    QVERIFY(clear);
    QCOMPARE(
        QAccessible::queryAccessibleInterface(clear)->text(QAccessible::Name),
        Q("検索を消す"));
  }

  // Tab goes from the search to the tab's list, the buttons that act on it,
  // then the window's buttons, and round; a list reached selects its first
  // entry, so that its buttons are there to reach.
  void TabOrderInEachTab_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("order");
    const QStringList window_buttons = {"check_button", "close_button"};
    QTest::newRow("辞書") << 0
                          << QStringList{"facts_list", "add_fact_button",
                                         "change_fact_button",
                                         "remove_fact_button"} +
                                 window_buttons;
    QTest::newRow("覚えた言葉") << 1
                                << QStringList{"words_list",
                                               "add_word_button",
                                               "rename_word_button",
                                               "remove_word_button",
                                               "definitions_list",
                                               "add_definition_button",
                                               "change_definition_button",
                                               "remove_definition_button"} +
                                       window_buttons;
    QTest::newRow("発言の記録")
        << 2
        << QStringList{"phrases_list", "change_phrase_button",
                       "remove_phrase_button"} +
               window_buttons;
    QTest::newRow("プロフィール")
        << 3 << QStringList{"name_field", "rename_button"} + window_buttons;
  }
  void TabOrderInEachTab() {
    QFETCH(int, tab);
    QFETCH(QStringList, order);
    Open();
    QVERIFY(QTest::qWaitForWindowActive(window_.get(), kPatienceMs));
    ShowTab(tab);
    Find<QLineEdit>("search_box")->setFocus(Qt::TabFocusReason);
    QStringList reached;
    // One more than the order: the last Tab comes back to the search.
    for (qsizetype i = 0; i <= order.size(); ++i) {
      QTest::keyClick(window_->focusWidget(), Qt::Key_Tab);
      reached.append(window_->focusWidget()->objectName());
    }
    QCOMPARE(reached, order + QStringList{"search_box"});
  }

  // Keys reach what they name from wherever the focus is.
  void KeysWork_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("search");
    const int ctrl = Qt::ControlModifier;
    const int back = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Esc clears the search")
        << "search_box" << int(Qt::Key_Escape) << 0 << 0 << "";
    QTest::newRow("Ctrl+Tab in the search")
        << "search_box" << int(Qt::Key_Tab) << ctrl << 1 << "都";
    QTest::newRow("Ctrl+Tab in a list")
        << "facts_list" << int(Qt::Key_Tab) << ctrl << 1 << "都";
    QTest::newRow("Ctrl+Shift+Tab round the start")
        << "search_box" << int(Qt::Key_Backtab) << back << 3 << "都";
    QTest::newRow("Ctrl+Shift+Tab on a button")
        << "check_button" << int(Qt::Key_Backtab) << back << 3 << "都";
  }
  void KeysWork() {
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, tab);
    QFETCH(QString, search);
    Open();
    QVERIFY(QTest::qWaitForWindowActive(window_.get(), kPatienceMs));
    Search("都");
    auto* widget = window_->findChild<QWidget*>(from);
    widget->setFocus(Qt::TabFocusReason);
    QTest::keyClick(widget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(Find<QTabWidget>("tabs")->currentIndex(), tab);
    QCOMPARE(Find<QLineEdit>("search_box")->text(), search);
  }

  // Ctrl+W closes the window, which Holvan's other windows do too.
  void CtrlWCloses() {
    Open();
    QVERIFY(QTest::qWaitForWindowActive(window_.get(), kPatienceMs));
    QTest::keyClick(Find<QLineEdit>("search_box"), Qt::Key_W,
                    Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), kPatienceMs);
  }

  // Each button's tooltip shows the keys that do what it does.
  void TooltipsShowTheKeys_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("保存") << "save_button" << QKeySequence(QKeySequence::Save);
    QTest::newRow("元に戻す")
        << "undo_button" << QKeySequence(QKeySequence::Undo);
    QTest::newRow("閉じる") << "close_button" << QKeySequence("Ctrl+W");
    QTest::newRow("削除") << "remove_fact_button"
                          << QKeySequence(QKeySequence::Delete);
  }
  void TooltipsShowTheKeys() {
    QFETCH(QString, button);
    QFETCH(QKeySequence, keys);
    Open();
    const QString tip = window_->findChild<QPushButton*>(button)->toolTip();
    QVERIFY2(tip.contains(keys.toString(QKeySequence::NativeText)),
             qPrintable(tip));
  }

  // The fields to type in are white, as the chat window's input line is,
  // with their text and hints readable on it.
  void FieldsAreWhiteAndReadable_data() {
    QTest::addColumn<QString>("field");
    QTest::newRow("検索") << "search_box";
    QTest::newRow("名前") << "name_field";
    QTest::newRow("項目") << "field_1";
  }
  void FieldsAreWhiteAndReadable() {
    QFETCH(QString, field);
    Open();
    QPalette colours;
    const auto take = [&](QWidget* root) {
      auto* line = root->findChild<QLineEdit*>(field);
      QVERIFY(line);
      colours = line->palette();
    };
    if (field.startsWith(QStringLiteral("field_"))) {
      Answers answers({[&](QWidget* dialog) {
        take(dialog);
        qobject_cast<QDialog*>(dialog)->reject();
      }});
      Button("add_fact_button")->click();
      QVERIFY(answers.done());
    } else {
      take(window_.get());
    }
    QCOMPARE(colours.color(QPalette::Base), QColor(Qt::white));
    for (const QPalette::ColorRole role :
         {QPalette::Text, QPalette::PlaceholderText}) {
      QVERIFY(ContrastRatio(colours.color(role),
                            colours.color(QPalette::Base)) >= 4.5);
    }
  }

  // The scroll bars are light, as buttons are: their arrows are drawn in the
  // lists' text colour, never in the white of the labels on black.
  void ScrollBarArrowsStandOutFromTheirFaces() {
    Open();
    const QList<QScrollBar*> bars = window_->findChildren<QScrollBar*>();
    QVERIFY(!bars.isEmpty());
    for (const QScrollBar* bar : bars) {
      const QPalette& colours = bar->palette();
      for (const QPalette::ColorGroup group :
           {QPalette::Active, QPalette::Inactive}) {
        const int arrow =
            qGray(colours.color(group, QPalette::WindowText).rgb());
        const int face = qGray(colours.color(group, QPalette::Button).rgb());
        QVERIFY2(std::abs(arrow - face) > 128,
                 qPrintable(bar->parentWidget()->parentWidget()->objectName()));
      }
    }
  }

  // A dark desktop theme changes no colour of the window, so none of its
  // texts meets a background of the theme's.
  void ColoursStayTheSameUnderADarkTheme() {
    const auto colours_shown = [this] {
      Open();
      return ColoursShown(window_.get());
    };
    const QList<QColor> light = colours_shown();
    QCOMPARE(UnderDarkTheme(colours_shown), light);
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::EditorWindowTest)
#include "editor_window_test.moc"
