// 「記憶の整理」 as a client of a Wayland compositor, on the starter files:
// shown and decorated by the client, open for editing, and closed; none of
// it draws a warning from the platform.

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>

#include "editor/editor_window.h"
#include "qt/window_test_support.h"
#include "support/waiting.h"

namespace holvan::testing {
namespace {

class EditorWaylandTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
  }

  void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); }

  void ShownDecoratedAndClosed() {
    WorkFolder folder;
    CopyStarterFiles(folder);
    editor::EditorWindow window(folder.File(QString()).toStdString());
    window.Start();
    QVERIFY(QTest::qWaitForWindowExposed(&window, kPatienceMs));
    QCOMPARE(window.windowHandle()->title(), QString::fromUtf8("記憶の整理"));
    QVERIFY(window.windowHandle()->frameMargins().top() > 0);
    QVERIFY(!window.findChild<QWidget*>(QStringLiteral("read_only_bar"))
                 ->isVisible());
    QWidget* search_box = window.focusWidget();
    QCOMPARE(search_box->objectName(), QStringLiteral("search_box"));
    QVERIFY(search_box->inputMethodQuery(Qt::ImEnabled).toBool());
    QVERIFY(window.close());
    QVERIFY(window.finished());
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::EditorWaylandTest)
#include "wayland_test.moc"
