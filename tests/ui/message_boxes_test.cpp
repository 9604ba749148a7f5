// The box of a start refused because another Holvan works in the folder.

#include "ui/message_boxes.h"

#include <QTest>

#include "window_test_support.h"

namespace holvan::testing {
namespace {

class MessageBoxesTest : public QObject {
  Q_OBJECT

 private slots:
  void FolderBusyBoxShowsItsTextAsIs() {
    ModalWatcher watcher;
    ShowFolderBusyBox(nullptr);
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].title, QStringLiteral("Holvan"));
    // No "." is added: this box is no error raised in a handler.
    QCOMPARE(watcher.seen[0].text,
             QString::fromUtf8("Holvan はこのフォルダですでに起動しています"));
    QCOMPARE(watcher.seen[0].icon, QMessageBox::Critical);
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::MessageBoxesTest)
#include "message_boxes_test.moc"
