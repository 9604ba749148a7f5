// Ending other than by the close: the stores are saved without the closing
// box, and never on top of a close that already saved them.

#include "ui/session_end.h"

#include <QTest>
#include <csignal>
#include <memory>

#include "ui/main_form.h"
#include "window_test_support.h"

namespace holvan::testing {
namespace {

class SessionEndTest : public QObject {
  Q_OBJECT

 private:
  void WriteStores(WorkFolder& folder) {
    folder.WriteLines(QStringLiteral("holv.dat"),
                      {"太郎", "3", "0", "0", "0", "0", "0"});
    folder.WriteLines(QStringLiteral("res.dat"), {});
  }

  void Say(TForm1& form, const char* utf8) {
    auto* edit1 = form.findChild<QWidget*>(QStringLiteral("Edit1"));
    Commit(edit1, QString::fromUtf8(utf8));
    QTest::keyClick(edit1, Qt::Key_Return);
  }

 private slots:
  void NoQuietSaveAfterTheClose() {
    WorkFolder folder;
    WriteStores(folder);
    TForm1 form;
    form.Start();
    Say(form, "こんにちは");
    ModalWatcher watcher;
    form.close();
    QVERIFY(form.Finished());
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    folder.WriteLines(QStringLiteral("res.dat"), {"前の内容"});
    form.SaveQuietly();
    QCOMPARE(folder.ReadBytes(QStringLiteral("res.dat")), Sj("前の内容\r\n"));
  }

  // Last: ending the program ends every event loop that follows.
  void TerminationSavesWithoutTheBoxAndEnds() {
    WorkFolder folder;
    WriteStores(folder);
    TForm1 form;
    SaveOnSessionEnd(form);
    form.Start();
    Say(form, "こんにちは");
    ModalWatcher watcher;
    std::raise(SIGTERM);
    QTRY_VERIFY(form.Finished());
    QCOMPARE(folder.ReadBytes(QStringLiteral("res.dat")), Sj("こんにちは\r\n"));
    QVERIFY(folder.ReadBytes(QStringLiteral("holv.dat"))
                .starts_with(Sj("太郎\r\n4\r\n")));
    // The window then goes without running the close.
    form.close();
    QVERIFY(!form.isVisible());
    QVERIFY(watcher.seen.empty());
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::SessionEndTest)
#include "session_end_test.moc"
