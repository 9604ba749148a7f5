// Ending other than by the close: the stores are saved without the closing
// box, and never on top of a close that already saved them.

#include "qt/program_end.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <csignal>
#include <functional>
#include <memory>

#include "qt/run_window.h"
#include "qt/window_test_support.h"
#include "support/waiting.h"
#include "system/system_platform.h"
#include "ui/main_window.h"

namespace holvan::testing {
namespace {

class ProgramEndTest : public QObject {
  Q_OBJECT

 private:
  system::SystemPlatform platform_;

  void WriteStores(WorkFolder& folder) {
    folder.WriteLines(QStringLiteral("holv.dat"),
                      {"太郎", "3", "0", "0", "0", "0", "0"});
    folder.WriteLines(QStringLiteral("res.dat"), {});
  }

  void Say(MainWindow& window, const char* utf8) {
    auto* input_line = window.findChild<QWidget*>(QStringLiteral("input_line"));
    Commit(input_line, QString::fromUtf8(utf8));
    QTest::keyClick(input_line, Qt::Key_Return);
  }

  // Runs the program with window until it ends: act runs once
  // the window is shown, and the first box or dialog that waits gets
  // SIGTERM. Returns the loop's status (99: still running after kPatience);
  // title
  // gets the box's caption.
  int RunAndTerminateAtTheBox(MainWindow& window,
                              const std::function<void()>& act,
                              QString& title) {
    // Two timers: a timer does not fire again while its own handler waits.
    QTimer start;
    connect(&start, &QTimer::timeout, [&] {
      if (!window.isVisible()) return;
      start.stop();
      act();
    });
    start.start(10);
    QTimer look;
    connect(&look, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->isVisible()) return;
      look.stop();
      title = modal->windowTitle();
      std::raise(SIGTERM);
    });
    look.start(10);
    QTimer give_up;
    give_up.setSingleShot(true);
    connect(&give_up, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    give_up.start(kPatienceMs);
    return RunWindow(window);
  }

 private slots:
  void NoQuietSaveAfterTheClose() {
    WorkFolder folder;
    WriteStores(folder);
    MainWindow window(platform_);
    window.Start();
    QTRY_VERIFY_WITH_TIMEOUT(!window.loading(), kPatienceMs);
    Say(window, "こんにちは");
    ModalWatcher watcher;
    window.close();
    QVERIFY(window.finished());
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    folder.WriteLines(QStringLiteral("res.dat"), {"前の内容"});
    window.SaveQuietly();
    QCOMPARE(folder.ReadBytes(QStringLiteral("res.dat")), Sj("前の内容\r\n"));
  }

  // Start-up stops at the unreadable dic.dat: brain.dat was read and is
  // saved, res.dat and holv.dat were not and stay as they were.
  void TerminationDuringTheStartUpErrorBoxSavesAndEnds() {
    WorkFolder folder;
    WriteStoresThatStopAtTheDictionary(folder);
    MainWindow window(platform_);
    SaveAtProgramEnd(window);
    QString title;
    const int status = RunAndTerminateAtTheBox(
        window, [] {}, title);
    QCOMPARE(status, 0);
    QCOMPARE(title, QStringLiteral("Holvan"));
    QVERIFY(window.finished());
    QVERIFY(OnlyTheReadStoreSaved(folder));
  }

  // Before the window's creation nothing is loaded, so nothing is written.
  void NoQuietSaveBeforeTheStart() {
    WorkFolder folder;
    WriteStores(folder);
    MainWindow window(platform_);
    window.SaveQuietly();
    QVERIFY(folder.ReadBytes(QStringLiteral("holv.dat"))
                .starts_with(Sj("太郎\r\n3\r\n")));
  }

  // The other boxes: an error box during a turn, the closing box after the
  // close saved, and the version dialog.
  void TerminationDuringAnyBoxSavesAndEnds_data() {
    QTest::addColumn<QString>("act");
    QTest::addColumn<QString>("title");
    QTest::addColumn<std::string>("said");
    QTest::newRow("error box of a turn")
        << QStringLiteral("diary") << QStringLiteral("Holvan")
        << Sj("こんにちは\r\n日記\r\n");
    QTest::newRow("closing box")
        << QStringLiteral("close") << QString::fromUtf8("確認")
        << Sj("こんにちは\r\n");
    QTest::newRow("version dialog")
        << QStringLiteral("version") << QString::fromUtf8("バージョン情報")
        << Sj("こんにちは\r\n");
  }

  void TerminationDuringAnyBoxSavesAndEnds() {
    QFETCH(QString, act);
    QFETCH(QString, title);
    QFETCH(std::string, said);
    WorkFolder folder;
    WriteStores(folder);
    folder.LinkUnreadable(QStringLiteral("diary.dat"));
    MainWindow window(platform_);
    SaveAtProgramEnd(window);
    QString seen;
    const int status = RunAndTerminateAtTheBox(
        window,
        [&] {
          Say(window, "こんにちは");
          if (act == QStringLiteral("diary")) {
            Say(window, "日記");
          } else if (act == QStringLiteral("close")) {
            window.close();
          } else {
            window.findChild<QAction*>(QStringLiteral("version_action"))
                ->trigger();
          }
        },
        seen);
    QCOMPARE(status, 0);
    QCOMPARE(seen, title);
    QVERIFY(window.finished());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(folder.ReadBytes(QStringLiteral("res.dat")), said);
    QVERIFY(folder.ReadBytes(QStringLiteral("holv.dat"))
                .starts_with(Sj("太郎\r\n4\r\n")));
  }

  // Last: ending the program ends every event loop that follows.
  void TerminationSavesWithoutTheBoxAndEnds() {
    WorkFolder folder;
    WriteStores(folder);
    MainWindow window(platform_);
    SaveAtProgramEnd(window);
    window.Start();
    QTRY_VERIFY_WITH_TIMEOUT(!window.loading(), kPatienceMs);
    Say(window, "こんにちは");
    ModalWatcher watcher;
    std::raise(SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(window.finished(), kPatienceMs);
    QCOMPARE(folder.ReadBytes(QStringLiteral("res.dat")), Sj("こんにちは\r\n"));
    QVERIFY(folder.ReadBytes(QStringLiteral("holv.dat"))
                .starts_with(Sj("太郎\r\n4\r\n")));
    // The window then goes without running the close.
    window.close();
    QVERIFY(!window.isVisible());
    QVERIFY(watcher.seen.empty());
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::ProgramEndTest)
#include "program_end_test.moc"
