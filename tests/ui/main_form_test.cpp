// The main window driven as a user drives it: typing and Enter, the close
// paths, the error box of a failed close, the teaching pre-fill, diary mode,
// the popup menu and the version dialog.

#include "ui/main_form.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <limits>
#include <memory>

#include "system/system_platform.h"
#include "text/cp932.h"
#include "ui/shown_text.h"
#include "window_test_support.h"

namespace holvan::testing {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Receives the pages the window asks the desktop to open.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened.append(url); }
};

class MainFormTest : public QObject {
  Q_OBJECT

 private:
  // A started window in a fresh folder.
  void StartWindow() {
    form_ = std::make_unique<TForm1>(platform_);
    form_->Start();
    memo1_ = form_->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    edit1_ = form_->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    button1_ = form_->findChild<QPushButton*>(QStringLiteral("Button1"));
    QVERIFY(memo1_ && edit1_ && button1_);
  }

  // One turn: the line typed through the input method, then Enter.
  void Say(const char* utf8) {
    Commit(edit1_, Q(utf8));
    QTest::keyClick(edit1_, Qt::Key_Return);
  }

  const NarrowText& Transcript() {
    return form_->companion().Transcript().Text();
  }

  bool TranscriptHas(const char* utf8) {
    return Transcript().find(Sj(utf8)) != NarrowText::npos;
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
    return form_->findChild<QAction*>(QString::fromLatin1(name));
  }

  system::SystemPlatform platform_;
  std::unique_ptr<WorkFolder> folder_;
  std::unique_ptr<TForm1> form_;
  QPlainTextEdit* memo1_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QPushButton* button1_ = nullptr;

 private slots:
  void init() { folder_ = std::make_unique<WorkFolder>(); }

  void cleanup() {
    form_.reset();
    folder_.reset();
  }

  void StartsAsDesignedWithTheInputFocused() {
    StartWindow();
    QCOMPARE(form_->size(), QSize(406, 221));
    QCOMPARE(form_->minimumSize(), form_->maximumSize());
    QVERIFY(!(form_->windowFlags() &
              (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Holvan"));
    QCOMPARE(form_->focusWidget(), edit1_);
    QVERIFY(button1_->isDefault());
    QCOMPARE(edit1_->maxLength(), std::numeric_limits<int>::max());
    // An empty first line, then the request for a name.
    QCOMPARE(memo1_->toPlainText(), Q("\nお名前を教えて下さい\n"));
    const QFont font = memo1_->font();
    QCOMPARE(font.families().value(1), QStringLiteral("IPAPGothic"));
    QCOMPARE(font.pixelSize(), 15);
    const QPalette colours = memo1_->palette();
    QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
             colours.color(QPalette::Active, QPalette::Highlight));
  }

  void TypingAndEnterRunTurns() {
    StartWindow();
    Say("太郎");
    QVERIFY(TranscriptHas(" > 太郎\r\n太郎さんですね 記録しました\r\n"));
    QVERIFY(edit1_->text().isEmpty());
    // Keys typed one by one, then the Talk button.
    QTest::keyClicks(edit1_, QStringLiteral("hello"));
    QTest::mouseClick(button1_, Qt::LeftButton);
    QVERIFY(TranscriptHas("太郎 > hello\r\n"));
    edit1_->setFocus();
    Say("こんにちは");
    QVERIFY(TranscriptHas("太郎 > こんにちは\r\n"));
    QCOMPARE(memo1_->toPlainText(), ShownText(Transcript()));
    // More lines than the view holds: the newest stays in view.
    for (int i = 0; i < 6; ++i) Say("元気");
    QScrollBar* bar = memo1_->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
  }

  void PastedLineBreaksNeverReachATurn() {
    WriteStores();
    StartWindow();
    edit1_->insert(Q("一行目\r\n二行目\n三"));
    QCOMPARE(edit1_->text(), Q("一行目 二行目 三"));
    QTest::keyClick(edit1_, Qt::Key_Return);
    QVERIFY(TranscriptHas("太郎 > 一行目 二行目 三\r\n"));
    // A character the code page lacks becomes 〓.
    Say("x😀y");
    QVERIFY(TranscriptHas("太郎 > x〓y\r\n"));
  }

  void CloseButtonMenuAndCloseBoxRunTheSameClose() {
    const QString paths[] = {QStringLiteral("Button2"), QStringLiteral("Exit1"),
                             QStringLiteral("close box")};
    for (const QString& path : paths) {
      form_.reset();
      folder_.reset();
      folder_ = std::make_unique<WorkFolder>();
      WriteStores();
      StartWindow();
      Say("はじめまして");
      ModalWatcher watcher;
      if (path == QStringLiteral("Button2")) {
        QTest::mouseClick(form_->findChild<QPushButton*>(path), Qt::LeftButton);
      } else if (path == QStringLiteral("Exit1")) {
        Action("Exit1")->trigger();
      } else {
        form_->windowHandle()->close();
      }
      QVERIFY2(form_->Finished(), qPrintable(path));
      QVERIFY(!form_->isVisible());
      QCOMPARE(watcher.seen.size(), std::size_t{1});
      QCOMPARE(watcher.seen[0].title, Q("確認"));
      QCOMPARE(watcher.seen[0].text, Q("終了します　　"));
      QCOMPARE(watcher.seen[0].icon, QMessageBox::Question);
      QCOMPARE(folder_->ReadBytes(QStringLiteral("res.dat")),
               Sj("はじめまして\r\n"));
      QVERIFY(folder_->ReadBytes(QStringLiteral("holv.dat"))
                  .starts_with(Sj("太郎\r\n4\r\n")));
      // A second close request does not run the close again.
      form_->close();
      QCOMPARE(watcher.seen.size(), std::size_t{1});
    }
  }

  void FailedCloseShowsTheErrorAndKeepsTheWindow() {
    WriteStores();
    StartWindow();
    ImmutableFile brain(folder_->File(QStringLiteral("brain.dat")));
    if (!brain.ok()) QSKIP("chattr +i is not available on this file system");
    Say("猫とは動物だ");
    {
      ModalWatcher watcher;
      form_->close();
      QCOMPARE(watcher.seen.size(), std::size_t{1});
      QCOMPARE(watcher.seen[0].title, QStringLiteral("Holvan"));
      QCOMPARE(watcher.seen[0].icon, QMessageBox::Critical);
      QVERIFY(watcher.seen[0].text.contains(QStringLiteral("brain.dat")));
      QVERIFY(watcher.seen[0].text.endsWith(Q("を作成できません.")));
    }
    QVERIFY(form_->isVisible());
    QVERIFY(!form_->Finished());
    // The conversation goes on, and the close succeeds once the cause is gone.
    Say("元気");
    QVERIFY(TranscriptHas("健康なのが一番みたいですね"));
    brain.Release();
    ModalWatcher watcher;
    form_->close();
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].title, Q("確認"));
    QVERIFY(form_->Finished());
    QVERIFY(!form_->isVisible());
  }

  // Start-up stops at the unreadable holv.dat; what is said after is saved at
  // the close in the files start-up read, and holv.dat is left alone.
  void FailedStartSavesWhatIsSaidAfterAtTheClose() {
    WriteStores();
    QFile::remove(folder_->File(QStringLiteral("holv.dat")));
    folder_->LinkUnreadable(QStringLiteral("holv.dat"));
    {
      ModalWatcher watcher;
      StartWindow();
      QCOMPARE(watcher.seen.size(), std::size_t{1});
      QCOMPARE(watcher.seen[0].icon, QMessageBox::Critical);
      QVERIFY(watcher.seen[0].text.contains(QStringLiteral("holv.dat")));
    }
    QVERIFY(form_->isVisible());
    Say("太郎");
    Say("犬とは動物だ");
    ModalWatcher watcher;
    form_->close();
    QVERIFY(form_->Finished());
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].title, Q("確認"));
    QCOMPARE(folder_->ReadBytes(QStringLiteral("res.dat")),
             Sj("太郎\r\n犬とは動物だ\r\n"));
    QVERIFY(folder_->ReadBytes(QStringLiteral("brain.dat"))
                .ends_with(Sj("犬＝動物\r\n")));
    QVERIFY(QFileInfo(folder_->File(QStringLiteral("holv.dat"))).isSymLink());
  }

  void FourthInsultClosesOnceAfterTheTurn() {
    WriteStores();
    StartWindow();
    ModalWatcher watcher;
    for (int i = 0; i < 4; ++i) Say("ばか");
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].title, Q("確認"));
    QVERIFY(form_->Finished());
    QTRY_VERIFY(!form_->isVisible());
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
    QVERIFY(!form_->IdleRemarksEnabled());
    Say("赤い星");
    QCOMPARE(edit1_->text(), Q("いいよ"));
    QCOMPARE(edit1_->selectedText(), Q("いいよ"));
    QTest::keyClick(edit1_, Qt::Key_Return);
    QVERIFY(TranscriptHas("ありがとう 覚えました"));
    QVERIFY(form_->IdleRemarksEnabled());
  }

  void DiaryModeCaptionsAndDeletingAMouseSelection() {
    WriteStores();
    StartWindow();
    Say("日記");
    const QString diary_caption =
        Q("日記モード      コマンド: セーブ 削除 終了");
    QCOMPARE(form_->windowTitle(), diary_caption);
    QCOMPARE(button1_->text(), Q("記入"));
    QCOMPARE(memo1_->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(memo1_->viewport()->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!form_->IdleRemarksEnabled());
    Say("一行目です");
    Say("二行目です");

    // Drag over "目です" of the first line and "二" of the second.
    const QString shown = memo1_->toPlainText();
    const int from = static_cast<int>(shown.indexOf(Q("目です")));
    const int to = static_cast<int>(shown.indexOf(Q("行目です"), from + 3));
    QTextCursor cursor(memo1_->document());
    cursor.setPosition(from);
    const QPoint start = memo1_->cursorRect(cursor).center();
    cursor.setPosition(to);
    const QPoint end = memo1_->cursorRect(cursor).center();
    QWidget* viewport = memo1_->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    QTest::mouseMove(viewport, end);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
    QCOMPARE(memo1_->textCursor().selectedText(),
             Q("目です") + QChar(QChar::ParagraphSeparator) + Q("二"));

    edit1_->setFocus();
    Say("削除");
    QVERIFY(Transcript().ends_with(Sj("一行行目です\r\n")));
    QCOMPARE(memo1_->toPlainText(), ShownText(Transcript()));
    // Nothing selected: the last line goes.
    Say("削除");
    QVERIFY(!TranscriptHas("一行行目です"));
    QCOMPARE(memo1_->toPlainText(), ShownText(Transcript()));

    Say("終了");
    QCOMPARE(form_->windowTitle(), QStringLiteral("Holvan"));
    QCOMPARE(button1_->text(), Q("話す"));
    QCOMPARE(memo1_->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo1_->viewport()->cursor().shape(), Qt::IBeamCursor);
    QVERIFY(form_->IdleRemarksEnabled());
    QCOMPARE(memo1_->toPlainText(), Q("終了しました\n"));
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
      QTextCursor cursor(memo1_->document());
      cursor.setPosition(anchor);
      cursor.setPosition(position, QTextCursor::KeepAnchor);
      memo1_->setTextCursor(cursor);
      edit1_->setFocus();
    };
    const auto at = [this](const char* utf8) {
      return static_cast<int>(memo1_->toPlainText().indexOf(Q(utf8)));
    };
    const auto end = [this] {
      return memo1_->document()->characterCount() - 1;
    };

    // From the start of a line to the end, then to the start of a line.
    select(at("二行目"), end());
    Say("三行目");
    Say("四行目");
    Say("削除");
    QVERIFY(Transcript().ends_with(Sj("\r\n一行目\r\n三行目\r\n四行目\r\n")));
    select(end(), at("四行目"));
    Say("五行目");
    Say("六行目");
    Say("削除");
    QVERIFY(Transcript().ends_with(Sj("\r\n三行目\r\n五行目\r\n六行目\r\n")));
    // In the middle.
    select(at("五"), at("五") + 1);
    Say("七行目");
    Say("削除");
    QVERIFY(Transcript().ends_with(
        Sj("\r\n三行目\r\n行目\r\n六行目\r\n七行目\r\n")));
    // None: the last line goes.
    select(at("三"), at("三"));
    Say("八行目");
    Say("削除");
    QVERIFY(Transcript().ends_with(Sj("\r\n行目\r\n六行目\r\n七行目\r\n")));
    QCOMPARE(memo1_->toPlainText(), ShownText(Transcript()));
  }

  void TimerRemarksArriveBehindTheVersionDialog() {
    WriteStores();
    folder_->WriteLines(QStringLiteral("dic.dat"),
                        {"東京*日本の首都", "大阪*西の都"});
    StartWindow();
    form_->findChild<QTimer*>(QStringLiteral("Timer1"))->setInterval(5);
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
                          Transcript().size()});
      }
      opened.back().remark_behind =
          Transcript().size() > opened.back().transcript_size;
      return opened.back().remark_behind;
    });
    QAction* n5 = Action("N5");
    n5->trigger();
    n5->trigger();
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
    QCOMPARE(memo1_->toPlainText(), ShownText(Transcript()));
  }

  void SupportPageOpensTheShippedPageSilently() {
    StartWindow();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    ModalWatcher watcher;
    Action("HP1")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.opened.size(), 1);
    QVERIFY(QFileInfo(catcher.opened[0].toLocalFile()).isFile());
    QVERIFY(watcher.seen.empty());
  }

  void IdleSwitchKeepsOrRestartsThePeriod() {
    StartWindow();
    QTimer* timer1 = form_->findChild<QTimer*>(QStringLiteral("Timer1"));
    QTest::qWait(300);
    const int remaining = timer1->remainingTime();
    QVERIFY(remaining <= 4800);
    form_->SetIdleRemarksEnabled(true);
    QVERIFY(timer1->remainingTime() <= remaining);
    form_->SetIdleRemarksEnabled(false);
    QVERIFY(!form_->IdleRemarksEnabled());
    form_->SetIdleRemarksEnabled(true);
    QVERIFY(timer1->remainingTime() > 4800);
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::MainFormTest)
#include "main_form_test.moc"
