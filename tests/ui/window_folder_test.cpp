// The window's start on a folder that another program holds, or that cannot
// be locked: the box it shows, and whether the window then runs.

#include "ui/window_folder.h"

#include <pwd.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QTest>
#include <memory>
#include <string>

#include "../reliability/term_driver.h"
#include "qt/window_test_support.h"
#include "support/piped_program.h"

namespace holvan::testing {
namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

class WindowFolderTest : public QObject {
  Q_OBJECT

 private slots:
  // The box names the program that holds the folder and its process, and the
  // window does not start.
  void ABusyFolderNamesItsHolder() {
    WorkFolder folder;
    const std::string path = folder.File(QString()).toStdString();
    {
      TermDriver holvan(path, FixedClock());
      QVERIFY(WaitUntilLocked(path, holvan.pid()));
      ModalWatcher boxes;
      QVERIFY(!ClaimWindowFolder(path));
      QCOMPARE(boxes.seen.size(), 1u);
      QCOMPARE(boxes.seen[0].title, QStringLiteral("Holvan"));
      QCOMPARE(boxes.seen[0].icon, QMessageBox::Critical);
      QCOMPARE(boxes.seen[0].text,
               Q("Holvan はこのフォルダですでに起動しています（holvan-term、"
                 "プロセス " +
                 std::to_string(holvan.pid()) + "）"));
    }
    PipedProgram memory(
        {HOLVAN_MEMORY_PATH, "--dir", path, "import", "dic", "-"},
        folder.File(QStringLiteral("out")).toStdString());
    QVERIFY(WaitUntilLocked(path, memory.pid()));
    ModalWatcher boxes;
    QVERIFY(!ClaimWindowFolder(path));
    QCOMPARE(boxes.seen.size(), 1u);
    QCOMPARE(boxes.seen[0].text,
             Q("holvan-memory（プロセス " + std::to_string(memory.pid()) +
               "）がこのフォルダを使っています"));
    QCOMPARE(memory.Finish(""), 0);
    QVERIFY(ClaimWindowFolder(path)->held());
    QCOMPARE(boxes.seen.size(), 1u);
  }

  // Where no lock can be had (the folder cannot be read, and a folder is in
  // the lock file's place), a warning says so, and the window runs.
  void AFolderWithoutALockIsToldAndRuns() {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr) QSKIP("needs root and nobody");
    WorkFolder folder;
    const std::string path = folder.File(QString()).toStdString();
    QVERIFY(QDir(folder.File(QString())).mkdir(QStringLiteral(".holvan.lock")));
    QCOMPARE(::chmod(path.c_str(), 0333), 0);
    ModalWatcher boxes;
    // The folder as nobody finds it, on this thread.
    ::setfsgid(nobody->pw_gid);
    ::setfsuid(nobody->pw_uid);
    const std::optional<FolderLock> lock = ClaimWindowFolder(path);
    ::setfsuid(0);
    ::setfsgid(0);
    QCOMPARE(::chmod(path.c_str(), 0700), 0);
    QVERIFY(lock && !lock->held());
    QCOMPARE(boxes.seen.size(), 1u);
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Warning);
    QCOMPARE(
        boxes.seen[0].text,
        Q("フォルダ " + path +
          " をロックできません（Is a directory）。ロックせずに起動します"));
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::WindowFolderTest)
#include "window_folder_test.moc"
