// Placing the window and the version dialog whole on the screen: the real
// windows at twice the scale on a 1280x1024 screen, where the window's usual
// place runs past the bottom edge, and on a 1024x768 one, where the dialog's
// does too.

#include "qt/whole_on_screen.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <algorithm>

#include "qt/window_test_support.h"
#include "support/waiting.h"
#include "system/system_platform.h"
#include "ui/main_window.h"

namespace holvan::testing {
namespace {

class WholeOnScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowAndDialogAreWholeAtTwiceTheScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->devicePixelRatio(), 2.0);
    const QRect available = screen->availableGeometry();
    QVERIFY(available == QRect(0, 0, 640, 512) ||
            available == QRect(0, 0, 512, 384));
    // Where a frame placed at wanted lies, moved up only as far as it must.
    const auto moved_up = [&available](QPoint wanted, const QRect& frame) {
      return QPoint(wanted.x(), std::min(wanted.y(), available.bottom() + 1 -
                                                         frame.height()));
    };

    WorkFolder folder;
    system::SystemPlatform platform;
    MainWindow window(platform);
    window.Start();
    QTRY_VERIFY_WITH_TIMEOUT(window.frameGeometry().size() != window.size(),
                             kPatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(available.contains(window.frameGeometry()),
                             kPatienceMs);
    QCOMPARE(window.frameGeometry().topLeft(),
             moved_up({100, 325}, window.frameGeometry()));
    QCOMPARE(window.frameGeometry().bottom(), available.bottom());

    // The dialog, at its usual place where it fits.
    QRect dialog_frame;
    ModalWatcher watcher([&dialog_frame](QWidget* dialog) {
      dialog_frame = dialog->frameGeometry();
      return dialog_frame.size() != dialog->size();
    });
    window.findChild<QAction*>(QStringLiteral("version_action"))->trigger();
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(dialog_frame.topLeft(), moved_up({246, 282}, dialog_frame));
    QVERIFY(available.contains(dialog_frame));
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::WholeOnScreenTest)
#include "whole_on_screen_test.moc"
