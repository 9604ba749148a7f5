// 「記憶の整理」 at twice the scale, on the smallest screen it fits (1024x768)
// and on a larger one: sized by its layouts to what the screen holds and
// placed whole on it, with every page, a long folder in its status line and
// in the bar of a memory read-only or unread, and its dialogs.

#include <QDir>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <optional>
#include <vector>

#include "editor/editor_window.h"
#include "os/folder_lock.h"
#include "qt/window_test_support.h"
#include "support/waiting.h"
#include "text/cp932.h"

namespace holvan::testing {
namespace {

QString Size(const QRect& frame) {
  return QStringLiteral("%1x%2+%3+%4")
      .arg(frame.width())
      .arg(frame.height())
      .arg(frame.x())
      .arg(frame.y());
}

class EditorScaleTest : public QObject {
  Q_OBJECT

 private slots:
  void WholeOnTheScreenAtTwiceTheScale_data() {
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("editable") << false << false;
    QTest::newRow("read-only") << true << false;
    QTest::newRow("unread") << false << true;
  }

  void WholeOnTheScreenAtTwiceTheScale() {
    QFETCH(bool, held);
    QFETCH(bool, unreadable);
    const QScreen* screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->devicePixelRatio(), 2.0);
    const QRect available = screen->availableGeometry();
    // At least 1024x768 pixels.
    QVERIFY(available.width() >= 512 && available.height() >= 384);

    WorkFolder work;
    const QString name(120, QChar('x'));
    QVERIFY(QDir(work.File(QString())).mkdir(name));
    work.WriteLines(name + QStringLiteral("/brain.dat"),
                    {"【ほめ言葉】＝すごい", "【悪口】＝ばか", "猫＝動物"});
    // An unreadable file: the bar tells why, naming its long path.
    if (unreadable) work.LinkUnreadable(name + QStringLiteral("/dic.dat"));
    const std::string folder = work.File(name).toStdString();
    // Held, so that the memory opens read-only with its bar.
    std::optional<FolderLock> holder;
    if (held) holder = FolderLock::TryLock(folder);

    // Every dialog is let be until it is framed; its frame is kept.
    std::vector<QRect> frames;
    ModalWatcher watcher([&frames](QWidget* dialog) {
      if (dialog->frameGeometry().size() == dialog->size()) return false;
      frames.push_back(dialog->frameGeometry());
      return true;
    });
    editor::EditorWindow window(folder);
    window.Start();
    QCOMPARE(window.findChild<QWidget*>(QStringLiteral("read_only_bar"))
                 ->isVisible(),
             held || unreadable);
    QTRY_VERIFY_WITH_TIMEOUT(window.frameGeometry().size() != window.size(),
                             kPatienceMs);
    QTRY_VERIFY2_WITH_TIMEOUT(available.contains(window.frameGeometry()),
                              qPrintable(Size(window.frameGeometry())),
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

    // So do its dialogs: a new entry's, the check report.
    std::size_t opened = 0;
    for (const char* name : {"add_fact_button", "check_button"}) {
      auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
      if (!button->isEnabled()) continue;
      button->click();
      ++opened;
    }
    QCOMPARE(frames.size(), opened);
    // No memory read, nothing to check; none to edit while it is held.
    QCOMPARE(opened, std::size_t{unreadable ? 0u : held ? 1u : 2u});
    for (const QRect& frame : frames) {
      QVERIFY2(available.contains(frame), qPrintable(Size(frame)));
    }
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::EditorScaleTest)
#include "editor_scale_test.moc"
