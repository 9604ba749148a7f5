// 「記憶の整理」 on a 1280x1024 screen at twice the scale: sized by its layouts
// to what the screen holds, and placed whole on it.

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include "editor/editor_window.h"
#include "support/waiting.h"
#include "text/cp932.h"
#include "ui/window_test_support.h"

namespace holvan::testing {
namespace {

class EditorScaleTest : public QObject {
  Q_OBJECT

 private slots:
  void WholeOnTheScreenAtTwiceTheScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->devicePixelRatio(), 2.0);
    const QRect available = screen->availableGeometry();
    QCOMPARE(available, QRect(0, 0, 640, 512));

    WorkFolder folder;
    folder.WriteLines(QStringLiteral("brain.dat"),
                      {"【ほめ言葉】＝すごい", "【悪口】＝ばか", "猫＝動物"});
    editor::EditorWindow window(folder.File(QString()).toStdString());
    window.Start();
    QTRY_VERIFY_WITH_TIMEOUT(window.frameGeometry().size() != window.size(),
                             kPatienceMs);
    QTRY_VERIFY2_WITH_TIMEOUT(
        available.contains(window.frameGeometry()),
        qPrintable(QStringLiteral("%1x%2+%3+%4")
                       .arg(window.frameGeometry().width())
                       .arg(window.frameGeometry().height())
                       .arg(window.frameGeometry().x())
                       .arg(window.frameGeometry().y())),
        kPatienceMs);
    // Every page fits in what the screen holds.
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabs"));
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      QVERIFY(window.minimumSizeHint().width() <= window.width());
      QVERIFY(window.minimumSizeHint().height() <= window.height());
    }
    // Comfortable: most of the screen.
    QVERIFY(window.width() >= available.width() * 3 / 4);
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::EditorScaleTest)
#include "editor_scale_test.moc"
