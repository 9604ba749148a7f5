// The main window driven as a user drives it: typing and Enter, the memory
// loading beside the shown window, the close paths, the error box of a failed
// close, the teaching pre-fill, diary mode, the popup and editing menus, the
// version dialog, and its colours under a dark theme.

#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>

#include "qt/qt_translation.h"
#include "qt/shown_text.h"
#include "qt/window_test_support.h"
#include "support/waiting.h"
#include "system/system_platform.h"
#include "text/cp932.h"
#include "ui/support_page.h"
#include "ui/version_dialog.h"

namespace holvan::testing {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// The texts of a menu's items, separators as "-".
QStringList Texts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions()) {
    texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  return texts;
}

// A load of the memory that waits until it is let go.
class HeldLoad {
 public:
  ~HeldLoad() { LetGo(); }

  MainWindow::MemoryLoader Loader() {
    return [this](std::string_view folder, Stores& stores) {
      std::unique_lock lock(mutex_);
      let_go_.wait(lock, [this] { return free_; });
      return LoadStores(folder, stores);
    };
  }

  void LetGo() {
    {
      const std::lock_guard lock(mutex_);
      free_ = true;
    }
    let_go_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable let_go_;
  bool free_ = false;
};

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  // A window in a fresh folder, shown, its memory loading (held back by
  // held_load_ when given).
  void ShowWindow(HeldLoad* held_load = nullptr) {
    window_ = held_load ? std::make_unique<MainWindow>(platform_, nullptr,
                                                       held_load->Loader())
                        : std::make_unique<MainWindow>(platform_);
    window_->Start();
    transcript_ =
        window_->findChild<QPlainTextEdit*>(QStringLiteral("transcript"));
    input_line_ = window_->findChild<QLineEdit*>(QStringLiteral("input_line"));
    talk_button_ =
        window_->findChild<QPushButton*>(QStringLiteral("talk_button"));
    QVERIFY(transcript_ && input_line_ && talk_button_);
  }

  // A started window in a fresh folder, its memory loaded.
  void StartWindow() {
    ShowWindow();
    QTRY_VERIFY_WITH_TIMEOUT(!window_->loading(), kPatienceMs);
  }

  // One turn: the line typed through the input method, then Enter.
  void Say(const char* utf8) {
    Commit(input_line_, Q(utf8));
    QTest::keyClick(input_line_, Qt::Key_Return);
  }

  const NarrowText& TranscriptText() {
    return window_->companion().transcript().Text();
  }

  bool TranscriptHas(const char* utf8) {
    return TranscriptText().find(Sj(utf8)) != NarrowText::npos;
  }

  // The profile, brain and phrase log files present, for a user 太郎.
  void WriteStores() {
    folder_->WriteLines(QStringLiteral("holv.dat"),
                        {"太郎", "3", "0", "0", "0", "0", "0"});
    folder_->WriteLines(QStringLiteral("brain.dat"),
                        {"＝ありがとう", "＝ばか", "猫＝動物"});
    folder_->WriteLines(QStringLiteral("res.dat"), {});
  }

  QAction* Action(const char* name) {
    return window_->findChild<QAction*>(QString::fromLatin1(name));
  }

  // The menu a right-click on the transcript or the input line opens.
  QMenu* EditingMenu(const char* target) {
    QWidget* widget = target == std::string_view("transcript")
                          ? transcript_->viewport()
                          : static_cast<QWidget*>(input_line_);
    const QPoint at(4, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                            widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  }

  system::SystemPlatform platform_;
  std::unique_ptr<WorkFolder> folder_;
  std::unique_ptr<MainWindow> window_;
  QPlainTextEdit* transcript_ = nullptr;
  QLineEdit* input_line_ = nullptr;
  QPushButton* talk_button_ = nullptr;

 private slots:
  void initTestCase() { QVERIFY(InstallQtJapanese()); }

  void init() { folder_ = std::make_unique<WorkFolder>(); }

  void cleanup() {
    window_.reset();
    folder_.reset();
  }

  void StartsAtItsFixedSizeWithTheInputFocused() {
    StartWindow();
    QCOMPARE(window_->size(), QSize(406, 221));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QVERIFY(!(window_->windowFlags() &
              (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Holvan"));
    // Its frame at its usual place, on a screen where it is whole there.
    QVERIFY(window_->frameGeometry().size() != window_->size());
    QCOMPARE(window_->pos(), QPoint(100, 325));
    QCOMPARE(window_->focusWidget(), input_line_);
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImPreferredLanguage);
    QApplication::sendEvent(input_line_, &query);
    QVERIFY(query.value(Qt::ImEnabled).toBool());
    QCOMPARE(query.value(Qt::ImPreferredLanguage).toString(),
             QStringLiteral("ja"));
    QVERIFY(talk_button_->isDefault());
    QCOMPARE(input_line_->maxLength(), std::numeric_limits<int>::max());
    // An empty first line, then the request for a name.
    QCOMPARE(transcript_->toPlainText(), Q("\nお名前を教えて下さい\n"));
    const QFont font = transcript_->font();
    // An installed Japanese face, alone (the packages bring IPA's).
    QCOMPARE(font.families().size(), 1);
    QVERIFY(QFontDatabase::writingSystems(font.families().front())
                .contains(QFontDatabase::Japanese));
    QCOMPARE(font.pixelSize(), 15);
    const QPalette colours = transcript_->palette();
    QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
             colours.color(QPalette::Active, QPalette::Highlight));
  }

  void TypingAndEnterRunTurns() {
    StartWindow();
    Say("太郎");
    QVERIFY(TranscriptHas(" > 太郎\r\n太郎さんですね 記録しました\r\n"));
    QVERIFY(input_line_->text().isEmpty());
    // Keys typed one by one, then the Talk button.
    QTest::keyClicks(input_line_, QStringLiteral("hello"));
    QTest::mouseClick(talk_button_, Qt::LeftButton);
    QVERIFY(TranscriptHas("太郎 > hello\r\n"));
    // The next line is typed where the last one was.
    QCOMPARE(window_->focusWidget(), input_line_);
    Say("こんにちは");
    QVERIFY(TranscriptHas("太郎 > こんにちは\r\n"));
    QCOMPARE(transcript_->toPlainText(), ShownText(TranscriptText()));
    // More lines than the view holds: the newest stays in view.
    for (int i = 0; i < 6; ++i) Say("元気");
    QScrollBar* bar = transcript_->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
  }

  // A click on the conversation selects there but leaves the typing in the
  // input line; typed there after Tab, keys go on in the input line; Copy
  // in the input line with nothing selected copies the conversation's
  // selection; Shift+F10 opens the focused control's menu.
  void TheConversationLeavesTypingToTheInputLine() {
    WriteStores();
    StartWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTest::mouseClick(transcript_->viewport(), Qt::LeftButton, {},
                      QPoint(20, 10));
    QCOMPARE(QApplication::focusWidget(), input_line_);
    transcript_->selectAll();
    QTest::keyClick(input_line_, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), transcript_->toPlainText());
    transcript_->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(transcript_, QStringLiteral("hi"));
    QCOMPARE(QApplication::focusWidget(), input_line_);
    QCOMPARE(input_line_->text(), QStringLiteral("hi"));
    transcript_->setFocus(Qt::TabFocusReason);
    QTest::keyClick(transcript_, Qt::Key_Return);
    QVERIFY(TranscriptHas("太郎 > hi\r\n"));
    ModalWatcher menus;
    QTest::keyClick(input_line_, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activePopupWidget() != nullptr,
                             kPatienceMs);
    QApplication::activePopupWidget()->close();
  }

  void PastedLineBreaksNeverReachATurn() {
    WriteStores();
    StartWindow();
    input_line_->insert(Q("一行目\r\n二行目\n三"));
    QCOMPARE(input_line_->text(), Q("一行目 二行目 三"));
    QTest::keyClick(input_line_, Qt::Key_Return);
    QVERIFY(TranscriptHas("太郎 > 一行目 二行目 三\r\n"));
    // A character the code page lacks becomes 〓.
    Say("x😀y");
    QVERIFY(TranscriptHas("太郎 > x〓y\r\n"));
  }

  void CloseButtonMenuAndCloseBoxRunTheSameClose() {
    const QString paths[] = {
        QStringLiteral("exit_button"), QStringLiteral("exit_action"),
        QStringLiteral("transcript"), QStringLiteral("input_line"),
        QStringLiteral("close box")};
    for (const QString& path : paths) {
      window_.reset();
      folder_.reset();
      folder_ = std::make_unique<WorkFolder>();
      WriteStores();
      StartWindow();
      Say("はじめまして");
      ModalWatcher watcher;
      if (path == QStringLiteral("exit_button")) {
        QTest::mouseClick(window_->findChild<QPushButton*>(path),
                          Qt::LeftButton);
      } else if (path == QStringLiteral("exit_action")) {
        Action("exit_action")->trigger();
      } else if (path != QStringLiteral("close box")) {
        // 終了 clicked in the control's editing menu.
        QMenu* menu = EditingMenu(qPrintable(path));
        QVERIFY(menu);
        QTest::mouseClick(
            menu, Qt::LeftButton, {},
            menu->actionGeometry(menu->actions().last()).center());
      } else {
        window_->windowHandle()->close();
      }
      QVERIFY2(window_->finished(), qPrintable(path));
      QVERIFY(!window_->isVisible());
      QCOMPARE(watcher.seen.size(), std::size_t{1});
      QCOMPARE(watcher.seen[0].title, Q("確認"));
      QCOMPARE(watcher.seen[0].text, Q("終了します　　"));
      QCOMPARE(watcher.seen[0].icon, QMessageBox::Question);
      QCOMPARE(folder_->ReadBytes(QStringLiteral("res.dat")),
               Sj("はじめまして\r\n"));
      QVERIFY(folder_->ReadBytes(QStringLiteral("holv.dat"))
                  .starts_with(Sj("太郎\r\n4\r\n")));
      // A second close request does not run the close again.
      window_->close();
      QCOMPARE(watcher.seen.size(), std::size_t{1});
    }
  }

  void QtsOwnTextsAreJapaneseInAnyLocale() {
    QCOMPARE(qgetenv("LANG"), QByteArray("C"));
    QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "&Copy"),
             Q("コピー(&C)"));
    QCOMPARE(QCoreApplication::translate("QLineEdit", "&Paste"),
             Q("貼り付け(&P)"));
  }

  // Each control's own editing menu, in Japanese, then Holvan's menu.
  void EditingMenusEndWithHolvansMenu() {
    StartWindow();
    for (const char* target : {"transcript", "input_line"}) {
      QMenu* menu = EditingMenu(target);
      QVERIFY2(menu, target);
      const QStringList texts = Texts(menu);
      QVERIFY2(texts.first().startsWith(target == std::string_view("transcript")
                                            ? Q("コピー(&C)")
                                            : Q("元に戻す(&U)")),
               qPrintable(texts.join(u'|')));
      QCOMPARE(texts.mid(texts.size() - 5),
               QStringList({Q("すべてを選択\tCtrl+A"), Q("-"), Q("ヘルプ"),
                            Q("-"), Q("終了")}));
      const QMenu* help = menu->actions().at(texts.size() - 3)->menu();
      QVERIFY(help);
      QCOMPARE(Texts(help),
               QStringList({Q("サポートHP"), Q("バージョン情報")}));
      menu->close();
    }
  }

  // A dark desktop theme changes no colour of the window or the version
  // dialog, so none of its light texts meets their grey or white.
  void ColoursStayTheSameUnderADarkTheme() {
    const auto colours_shown = [this] {
      StartWindow();
      VersionDialog dialog(window_.get());
      return ColoursShown(window_.get()) + ColoursShown(&dialog);
    };
    const QList<QColor> light = colours_shown();
    QCOMPARE(UnderDarkTheme(colours_shown), light);
  }

  void FailedCloseShowsTheErrorAndKeepsTheWindow() {
    WriteStores();
    StartWindow();
    FileAttribute brain(
        folder_->File(QStringLiteral("brain.dat")).toStdString());
    if (!brain.ok()) QSKIP("chattr +i is not available on this file system");
    Say("猫とは動物だ");
    {
      ModalWatcher watcher;
      window_->close();
      QCOMPARE(watcher.seen.size(), std::size_t{1});
      QCOMPARE(watcher.seen[0].title, QStringLiteral("Holvan"));
      QCOMPARE(watcher.seen[0].icon, QMessageBox::Critical);
      QVERIFY(watcher.seen[0].text.contains(QStringLiteral("brain.dat")));
      QVERIFY(watcher.seen[0].text.endsWith(Q("を作成できません.")));
    }
    QVERIFY(window_->isVisible());
    QVERIFY(!window_->finished());
    // The conversation goes on, and the close succeeds once the cause is gone.
    Say("元気");
    QVERIFY(TranscriptHas("健康なのが一番みたいですね"));
    brain.Lift();
    ModalWatcher watcher;
    window_->close();
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].title, Q("確認"));
    QVERIFY(window_->finished());
    QVERIFY(!window_->isVisible());
  }

  // Start-up stops at the unreadable holv.dat; its box comes before any turn,
  // whether the lines were sent while the memory loaded or after the box.
  // What is said is saved at the close in the files start-up read, and
  // holv.dat is left alone.
  void FailedStartSavesWhatIsSaidAfterAtTheClose_data() {
    QTest::addColumn<bool>("while_loading");
    QTest::newRow("said after the box") << false;
    QTest::newRow("sent while the memory loads") << true;
  }

  void FailedStartSavesWhatIsSaidAfterAtTheClose() {
    QFETCH(bool, while_loading);
    WriteStores();
    QFile::remove(folder_->File(QStringLiteral("holv.dat")));
    folder_->LinkUnreadable(QStringLiteral("holv.dat"));
    const auto say_lines = [this] {
      Say("太郎");
      Say("犬とは動物だ");
    };
    {
      // Each box, and the Transcript when it showed.
      std::vector<std::pair<QString, NarrowText>> boxes;
      QTimer look;
      connect(&look, &QTimer::timeout, [&] {
        auto* box =
            qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        boxes.emplace_back(box->text(), TranscriptText());
        box->buttons().first()->click();
      });
      look.start(10);
      HeldLoad held;
      ShowWindow(&held);
      if (while_loading) say_lines();
      held.LetGo();
      QTRY_VERIFY_WITH_TIMEOUT(!window_->loading(), kPatienceMs);
      QCOMPARE(boxes.size(), std::size_t{1});
      QVERIFY(boxes[0].first.contains(QStringLiteral("holv.dat")));
      QCOMPARE(boxes[0].second, Sj("\r\n"));
    }
    QVERIFY(window_->isVisible());
    if (!while_loading) say_lines();
    QVERIFY(TranscriptHas(" > 太郎\r\n太郎さんですね 記録しました\r\n"));
    ModalWatcher watcher;
    window_->close();
    QVERIFY(window_->finished());
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].title, Q("確認"));
    QCOMPARE(folder_->ReadBytes(QStringLiteral("res.dat")),
             Sj("太郎\r\n犬とは動物だ\r\n"));
    QVERIFY(folder_->ReadBytes(QStringLiteral("brain.dat"))
                .ends_with(Sj("犬＝動物\r\n")));
    QVERIFY(QFileInfo(folder_->File(QStringLiteral("holv.dat"))).isSymLink());
  }

  // The window shows and takes lines while its memory loads; they are
  // answered in order on the whole memory once it is there, after the
  // greeting and the start of the idle remarks, which the question stops.
  void LinesSentWhileTheMemoryLoadsAreAnsweredOnceLoaded() {
    WriteStores();
    folder_->WriteLines(QStringLiteral("dic.dat"), {"東京*日本の首都"});
    HeldLoad held;
    ShowWindow(&held);
    QVERIFY(window_->isVisible());
    QCOMPARE(window_->focusWidget(), input_line_);
    Say("東京は？");
    QVERIFY(input_line_->text().isEmpty());
    QTest::keyClicks(input_line_, QStringLiteral("hello"));
    QTest::mouseClick(talk_button_, Qt::LeftButton);
    QCOMPARE(window_->focusWidget(), input_line_);
    QTest::keyClicks(input_line_, QStringLiteral("typed"));
    QVERIFY(window_->loading());
    QVERIFY(!window_->IdleRemarksEnabled());
    QCOMPARE(TranscriptText(), Sj("\r\n"));
    held.LetGo();
    QTRY_VERIFY_WITH_TIMEOUT(!window_->loading(), kPatienceMs);
    QVERIFY(!window_->IdleRemarksEnabled());
    const NarrowText& text = TranscriptText();
    const std::size_t greeting = text.find(Sj("どうも 太郎さん"));
    const std::size_t question = text.find(Sj("太郎 > 東京は？\r\n"));
    const std::size_t answer = text.find(Sj("日本の首都"), question);
    const std::size_t hello = text.find(Sj("太郎 > hello\r\n"));
    QVERIFY2(greeting < question && question < answer && answer < hello &&
                 hello != NarrowText::npos,
             text.c_str());
    // What was typed since stays.
    QCOMPARE(input_line_->text(), QStringLiteral("typed"));
  }

  // The close, or a quiet save at the session's end, while the memory loads
  // waits for it and saves it whole.
  void ClosingWhileTheMemoryLoadsSavesItWhole_data() {
    QTest::addColumn<bool>("quietly");
    QTest::newRow("the close") << false;
    QTest::newRow("a quiet save") << true;
  }

  void ClosingWhileTheMemoryLoadsSavesItWhole() {
    QFETCH(bool, quietly);
    WriteStores();
    const std::string brain = folder_->ReadBytes(QStringLiteral("brain.dat"));
    HeldLoad held;
    ShowWindow(&held);
    Say("はじめまして");
    QVERIFY(!window_->IdleRemarksEnabled());
    ModalWatcher watcher;
    held.LetGo();
    if (quietly) {
      window_->SaveQuietly();
    } else {
      window_->close();
    }
    QCOMPARE(folder_->ReadBytes(QStringLiteral("brain.dat")), brain);
    QVERIFY(folder_->ReadBytes(QStringLiteral("holv.dat"))
                .starts_with(Sj("太郎\r\n4\r\n")));
    QCOMPARE(window_->finished(), !quietly);
    QCOMPARE(watcher.seen.size(), std::size_t{quietly ? 0u : 1u});
    if (quietly) {
      // The session goes on: the line is answered, the idle remarks begin.
      QTRY_VERIFY_WITH_TIMEOUT(!window_->loading(), kPatienceMs);
      QVERIFY(TranscriptHas("太郎 > はじめまして\r\n"));
      QVERIFY(window_->IdleRemarksEnabled());
    } else {
      QCOMPARE(folder_->ReadBytes(QStringLiteral("res.dat")),
               Sj("はじめまして\r\n"));
    }
  }

  void FourthInsultClosesOnceAfterTheTurn() {
    WriteStores();
    StartWindow();
    ModalWatcher watcher;
    for (int i = 0; i < 4; ++i) Say("ばか");
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].title, Q("確認"));
    QVERIFY(window_->finished());
    QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), kPatienceMs);
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QVERIFY(folder_->ReadBytes(QStringLiteral("holv.dat"))
                .ends_with(Sj("\r\n1\r\n")));
  }

  void TeachingPrefillsConsentSelected() {
    WriteStores();
    folder_->WriteLines(QStringLiteral("dic.dat"), {"東京*日本の首都"});
    StartWindow();
    Say("火星は？");
    QVERIFY(TranscriptHas("火星 についての情報がありません 教えて下さい"));
    QVERIFY(!window_->IdleRemarksEnabled());
    Say("赤い星");
    QCOMPARE(input_line_->text(), Q("いいよ"));
    QCOMPARE(input_line_->selectedText(), Q("いいよ"));
    QTest::keyClick(input_line_, Qt::Key_Return);
    QVERIFY(TranscriptHas("ありがとう 覚えました"));
    QVERIFY(window_->IdleRemarksEnabled());
  }

  void DiaryModeCaptionsAndDeletingAMouseSelection() {
    WriteStores();
    StartWindow();
    Say("日記");
    const QString diary_caption =
        Q("日記モード      コマンド: セーブ 削除 終了");
    QCOMPARE(window_->windowTitle(), diary_caption);
    QCOMPARE(talk_button_->text(), Q("記入"));
    QCOMPARE(transcript_->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(transcript_->viewport()->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!window_->IdleRemarksEnabled());
    Say("一行目です");
    Say("二行目です");

    // Drag over "目です" of the first line and "二" of the second.
    const QString shown = transcript_->toPlainText();
    const int from = static_cast<int>(shown.indexOf(Q("目です")));
    const int to = static_cast<int>(shown.indexOf(Q("行目です"), from + 3));
    QTextCursor cursor(transcript_->document());
    cursor.setPosition(from);
    const QPoint start = transcript_->cursorRect(cursor).center();
    cursor.setPosition(to);
    const QPoint end = transcript_->cursorRect(cursor).center();
    QWidget* viewport = transcript_->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    QTest::mouseMove(viewport, end);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
    QCOMPARE(transcript_->textCursor().selectedText(),
             Q("目です") + QChar(QChar::ParagraphSeparator) + Q("二"));

    input_line_->setFocus();
    Say("削除");
    QVERIFY(TranscriptText().ends_with(Sj("一行行目です\r\n")));
    QCOMPARE(transcript_->toPlainText(), ShownText(TranscriptText()));
    // Nothing selected: the last line goes.
    Say("削除");
    QVERIFY(!TranscriptHas("一行行目です"));
    QCOMPARE(transcript_->toPlainText(), ShownText(TranscriptText()));

    Say("終了");
    QCOMPARE(window_->windowTitle(), QStringLiteral("Holvan"));
    QCOMPARE(talk_button_->text(), Q("話す"));
    QCOMPARE(transcript_->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(transcript_->viewport()->cursor().shape(), Qt::IBeamCursor);
    QVERIFY(window_->IdleRemarksEnabled());
    QCOMPARE(transcript_->toPlainText(), Q("終了しました\n"));
  }

  // Lines said after the user selected never join the selection, wherever it
  // ends; 削除 removes exactly what was selected, or the last line.
  void DiaryDeleteRemovesExactlyTheSelection() {
    WriteStores();
    StartWindow();
    Say("日記");
    Say("一行目");
    Say("二行目");
    const auto select = [this](int anchor, int position) {
      QTextCursor cursor(transcript_->document());
      cursor.setPosition(anchor);
      cursor.setPosition(position, QTextCursor::KeepAnchor);
      transcript_->setTextCursor(cursor);
      input_line_->setFocus();
    };
    const auto at = [this](const char* utf8) {
      return static_cast<int>(transcript_->toPlainText().indexOf(Q(utf8)));
    };
    const auto end = [this] {
      return transcript_->document()->characterCount() - 1;
    };

    // From the start of a line to the end, then to the start of a line.
    select(at("二行目"), end());
    Say("三行目");
    Say("四行目");
    Say("削除");
    QVERIFY(
        TranscriptText().ends_with(Sj("\r\n一行目\r\n三行目\r\n四行目\r\n")));
    select(end(), at("四行目"));
    Say("五行目");
    Say("六行目");
    Say("削除");
    QVERIFY(
        TranscriptText().ends_with(Sj("\r\n三行目\r\n五行目\r\n六行目\r\n")));
    // In the middle.
    select(at("五"), at("五") + 1);
    Say("七行目");
    Say("削除");
    QVERIFY(TranscriptText().ends_with(
        Sj("\r\n三行目\r\n行目\r\n六行目\r\n七行目\r\n")));
    // None: the last line goes.
    select(at("三"), at("三"));
    Say("八行目");
    Say("削除");
    QVERIFY(TranscriptText().ends_with(Sj("\r\n行目\r\n六行目\r\n七行目\r\n")));
    QCOMPARE(transcript_->toPlainText(), ShownText(TranscriptText()));
  }

  void TimerRemarksArriveBehindTheVersionDialog() {
    WriteStores();
    folder_->WriteLines(QStringLiteral("dic.dat"),
                        {"東京*日本の首都", "大阪*西の都"});
    StartWindow();
    window_->findChild<QTimer*>(QStringLiteral("idle_timer"))->setInterval(5);
    // Each dialog as it was while open, and whether a remark arrived then.
    struct Opened {
      QPointer<QWidget> dialog;
      QString title;
      QSize size;
      QString memo;
      std::size_t transcript_size = 0;
      bool remark_behind = false;
    };
    std::vector<Opened> opened;
    ModalWatcher watcher([&](QWidget* dialog) {
      if (opened.empty() || opened.back().dialog != dialog) {
        opened.push_back({dialog, dialog->windowTitle(), dialog->size(),
                          dialog->findChild<QPlainTextEdit*>()->toPlainText(),
                          TranscriptText().size()});
      }
      opened.back().remark_behind =
          TranscriptText().size() > opened.back().transcript_size;
      return opened.back().remark_behind;
    });
    QAction* version_action = Action("version_action");
    version_action->trigger();
    version_action->trigger();
    QCOMPARE(opened.size(), std::size_t{2});
    for (const Opened& o : opened) {
      QVERIFY(o.remark_behind);
      QCOMPARE(o.title, Q("バージョン情報"));
      QCOMPARE(o.size, QSize(240, 157));
      QCOMPARE(o.memo,
               Q("\n同じフォルダに辞書ファイルを名前\ndic.datで置いておくと，"
                 "質問して\n聞くことができます。他もろもろ。\n\n詳しくはHPへ"));
      // Freed when it closed.
      QVERIFY(!o.dialog);
    }
    QCOMPARE(transcript_->toPlainText(), ShownText(TranscriptText()));
  }

  // サポートHP opens the shipped page through xdg-open; where xdg-open is
  // missing or finds no browser, a box tells where the page is.
  void SupportPageOpensOrTellsWhereItIs() {
    StartWindow();
    const QString bin = folder_->File(QStringLiteral("bin"));
    QVERIFY(QDir().mkdir(bin));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8());
    const struct {
      const char* opener;  // the script of xdg-open; none when null
      bool box;
    } cases[] = {{"echo \"$1\" > opened", false},
                 {"echo \"$1\" > opened; exit 3", true},
                 {nullptr, true}};
    for (const auto& c : cases) {
      QFile::remove(folder_->File(QStringLiteral("opened")));
      QFile::remove(bin + QStringLiteral("/xdg-open"));
      if (c.opener) {
        folder_->WriteBytes(QStringLiteral("bin/xdg-open"),
                            std::string("#!/bin/sh\n") + c.opener + "\n");
        QVERIFY(QFile::setPermissions(bin + QStringLiteral("/xdg-open"),
                                      QFile::ExeOwner | QFile::ReadOwner));
      }
      ModalWatcher watcher;
      Action("support_page_action")->trigger();
      QTRY_VERIFY_WITH_TIMEOUT(
          QCoreApplication::instance()->findChildren<QProcess*>().isEmpty(),
          kPatienceMs);
      QCOMPARE(watcher.seen.size(), c.box ? 1u : 0u);
      const QUrl page(
          QString::fromUtf8(folder_->ReadBytes(QStringLiteral("opened")))
              .trimmed());
      if (c.opener) QVERIFY(QFileInfo(page.toLocalFile()).isFile());
      if (c.box) {
        QVERIFY(watcher.seen[0].text.endsWith(SupportPageUrl().toLocalFile()));
      }
    }
    qputenv("PATH", path);
  }

  void IdleSwitchKeepsOrRestartsThePeriod() {
    StartWindow();
    QTimer* idle_timer =
        window_->findChild<QTimer*>(QStringLiteral("idle_timer"));
    // Some of the period passes.
    QTRY_VERIFY_WITH_TIMEOUT(idle_timer->remainingTime() <= 4800, kPatienceMs);
    QElapsedTimer since;
    since.start();
    const int remaining = idle_timer->remainingTime();
    window_->SetIdleRemarksEnabled(true);
    QVERIFY(idle_timer->remainingTime() <= remaining);
    window_->SetIdleRemarksEnabled(false);
    QVERIFY(!window_->IdleRemarksEnabled());
    window_->SetIdleRemarksEnabled(true);
    // More is left than the kept period would have by now, however long
    // the machine paused meanwhile.
    const int restarted = idle_timer->remainingTime();
    QVERIFY2(restarted > remaining - since.elapsed() + 100,
             qPrintable(QStringLiteral("%1 left of %2 after %3 ms")
                            .arg(restarted)
                            .arg(remaining)
                            .arg(since.elapsed())));
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::MainWindowTest)
#include "main_window_test.moc"
