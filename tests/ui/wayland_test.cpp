// The chat window as a client of a Wayland compositor, on the starter files:
// shown and decorated by the client, a turn, the close through the closing
// box, and the end at SIGTERM; none of it draws a warning from the platform.

#include <signal.h>

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>
#include <csignal>

#include "qt/program_end.h"
#include "qt/window_test_support.h"
#include "support/file_reads.h"
#include "support/waiting.h"
#include "system/system_platform.h"
#include "ui/main_window.h"

namespace holvan::testing {
namespace {

class WaylandTest : public QObject {
  Q_OBJECT

 private:
  system::SystemPlatform platform_;

  // Enter goes to the window, as when no control takes it: the compositor
  // has no seat, hence no keyboard, and Qt's text-input support fails on keys
  // given to a line without one.
  static void Say(MainWindow& window, const char* utf8) {
    Commit(window.findChild<QWidget*>(QStringLiteral("input_line")),
           QString::fromUtf8(utf8));
    QTest::keyClick(&window, Qt::Key_Return);
  }

  // Shows the window and waits until the compositor has it on its output
  // and the memory is loaded.
  static void Show(MainWindow& window) {
    window.Start();
    QVERIFY(QTest::qWaitForWindowExposed(&window, kPatienceMs));
    QTRY_VERIFY_WITH_TIMEOUT(!window.loading(), kPatienceMs);
  }

  static void CheckSaved(const WorkFolder& folder) {
    QCOMPARE(folder.ReadBytes(QStringLiteral("res.dat")),
             Sj("太郎\r\nこんにちは\r\n"));
    QVERIFY(folder.ReadBytes(QStringLiteral("holv.dat"))
                .starts_with(Sj("太郎\r\n")));
  }

 private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
  }

  void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); }

  void ShownDecoratedAndClosedThroughTheBox() {
    WorkFolder folder;
    CopyStarterFiles(folder);
    MainWindow window(platform_);
    Show(window);
    // The title bar and its close button are drawn by the program itself.
    QCOMPARE(window.windowHandle()->title(), QStringLiteral("Holvan"));
    QVERIFY(window.windowHandle()->frameMargins().top() > 0);
    QCOMPARE(window.size(), QSize(406, 221));
    QCOMPARE(window.windowHandle()->maximumSize(), QSize(406, 221));
    // The input line takes the text of the compositor's input method.
    QWidget* input_line = window.focusWidget();
    QCOMPARE(input_line->objectName(), QStringLiteral("input_line"));
    QVERIFY(input_line->inputMethodQuery(Qt::ImEnabled).toBool());

    Say(window, "太郎");
    Say(window, "こんにちは");
    ModalWatcher watcher;
    QVERIFY(window.close());
    QVERIFY(window.finished());
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].text, QString::fromUtf8("終了します　　"));
    CheckSaved(folder);
  }

  // The program itself, ended by SIGTERM once its start-up has read the
  // files: at once, with status 0, saved, and silent.
  void TheProgramEndsAtTermination() {
    WorkFolder folder;
    CopyStarterFiles(folder);
    FileReads reads(".");
    QVERIFY(reads.watching());
    QProcess holvan;
    holvan.start(QStringLiteral(HOLVAN_WINDOW_PATH), {});
    QVERIFY(holvan.waitForStarted(kPatienceMs));
    bool read = false;
    QTRY_VERIFY_WITH_TIMEOUT(read = read || reads.Read("holv.dat"),
                             kPatienceMs);
    QCOMPARE(::kill(static_cast<pid_t>(holvan.processId()), SIGTERM), 0);
    QVERIFY(holvan.waitForFinished(kPatienceMs));
    QCOMPARE(holvan.exitStatus(), QProcess::NormalExit);
    QCOMPARE(holvan.exitCode(), 0);
    QCOMPARE(holvan.readAllStandardError(), QByteArray());
    QVERIFY(folder.ReadBytes(QStringLiteral("holv.dat")).ends_with("\r\n"));
  }

  // Last: ending the program ends every event loop that follows.
  void TerminationSavesAndEnds() {
    WorkFolder folder;
    CopyStarterFiles(folder);
    MainWindow window(platform_);
    SaveAtProgramEnd(window);
    Show(window);
    Say(window, "太郎");
    Say(window, "こんにちは");
    ModalWatcher watcher;
    std::raise(SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(window.finished(), kPatienceMs);
    CheckSaved(folder);
    QVERIFY(watcher.seen.empty());
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::WaylandTest)
#include "wayland_test.moc"
