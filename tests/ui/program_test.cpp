// The holvan program itself, run as a process on the offscreen platform.

#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QTest>

#include "window_test_support.h"

namespace holvan::testing {
namespace {

// Whether the process has its own handler for sig (the SigCgt mask of
// /proc/<pid>/status).
bool Catches(qint64 pid, int sig) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return false;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("SigCgt:")) {
      bool ok = false;
      const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
      return ok && (mask & (qulonglong{1} << (sig - 1))) != 0;
    }
  }
  return false;
}

class ProgramTest : public QObject {
  Q_OBJECT

 private slots:
  // Start-up stops at the unreadable dic.dat and its error box waits; SIGTERM
  // saves brain.dat (read before the failure), leaves res.dat and holv.dat
  // (never read) as they were, and ends the program.
  void TerminationWhileTheStartUpErrorBoxWaitsSavesAndEnds() {
    WorkFolder folder;
    WriteStoresThatStopAtTheDictionary(folder);

    // It starts in the folder, the current one.
    QProcess holvan;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QStringLiteral("offscreen"));
    holvan.setProcessEnvironment(environment);
    holvan.start(QStringLiteral(HOLVAN_WINDOW_PATH), {});
    QVERIFY(holvan.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(Catches(holvan.processId(), SIGTERM), 20000);
    // The creation follows at once; by now its box waits.
    QTest::qWait(1000);
    QCOMPARE(::kill(static_cast<pid_t>(holvan.processId()), SIGTERM), 0);
    QVERIFY(holvan.waitForFinished(20000));
    QCOMPARE(holvan.exitStatus(), QProcess::NormalExit);
    QCOMPARE(holvan.exitCode(), 0);
    QVERIFY(OnlyTheReadStoreSaved(folder));
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::ProgramTest)
#include "program_test.moc"
