// The holvan program itself, run as a process on the offscreen platform.

#include <signal.h>

#include <QDir>
#include <QProcess>
#include <QTest>

#include "qt/window_test_support.h"
#include "support/file_reads.h"
#include "support/waiting.h"

namespace holvan::testing {
namespace {

class ProgramTest : public QObject {
  Q_OBJECT

 private slots:
  // Start-up stops at the unreadable dic.dat and its error box waits; SIGTERM
  // saves brain.dat (read before the failure), leaves res.dat and holv.dat
  // (never read) as they were, and ends the program.
  void TerminationWhileTheStartUpErrorBoxWaitsSavesAndEnds() {
    WorkFolder folder;
    WriteStoresThatStopAtTheDictionary(folder);

    FileReads reads(".");
    QVERIFY(reads.watching());

    // It starts in the folder, the current one.
    QProcess holvan;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QStringLiteral("offscreen"));
    holvan.setProcessEnvironment(environment);
    holvan.start(QStringLiteral(HOLVAN_WINDOW_PATH), {});
    QVERIFY(holvan.waitForStarted(kPatienceMs));
    // Once the start-up has read brain.dat, nothing takes the signal before
    // the loop of the box that the failure at dic.dat shows. (The wait asks
    // once more after it holds, when the event has been taken.)
    bool brain_read = false;
    QTRY_VERIFY_WITH_TIMEOUT(brain_read = brain_read || reads.Read("brain.dat"),
                             kPatienceMs);
    QCOMPARE(::kill(static_cast<pid_t>(holvan.processId()), SIGTERM), 0);
    QVERIFY(holvan.waitForFinished(kPatienceMs));
    QCOMPARE(holvan.exitStatus(), QProcess::NormalExit);
    QCOMPARE(holvan.exitCode(), 0);
    QVERIFY(OnlyTheReadStoreSaved(folder));
  }

  // A second start on the folder asks the running window to come to the
  // front and ends at once, content; the first runs on.
  void ASecondStartRaisesTheFirst() {
    WorkFolder folder;
    WorkFolder runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                       runtime.File(QString()));
    QProcess first;
    QProcess second;
    for (QProcess* holvan : {&first, &second}) {
      holvan->setProcessEnvironment(environment);
      holvan->setWorkingDirectory(folder.File(QString()));
    }
    first.start(QStringLiteral(HOLVAN_WINDOW_PATH), {});
    QVERIFY(first.waitForStarted(kPatienceMs));
    // Listening once its channel is there.
    QTRY_VERIFY_WITH_TIMEOUT(
        !QDir(runtime.File(QString())).isEmpty(QDir::System), kPatienceMs);
    second.start(QStringLiteral(HOLVAN_WINDOW_PATH), {});
    QVERIFY(second.waitForFinished(kPatienceMs));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(::kill(static_cast<pid_t>(first.processId()), SIGTERM), 0);
    QVERIFY(first.waitForFinished(kPatienceMs));
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::ProgramTest)
#include "program_test.moc"
