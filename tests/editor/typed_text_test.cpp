// What the editor makes of a typed text: characters that code page 932 lacks
// but has a look-alike for are stored as the look-alike, told in a box first.

#include "editor/typed_text.h"

#include <QTest>

#include "qt/window_test_support.h"

namespace holvan::testing {
namespace {

class TypedTextTest : public QObject {
  Q_OBJECT

 private slots:
  void TellsTheLookAlikesInABox() {
    ModalWatcher watcher;
    QCOMPARE(editor::Typed(QString::fromUtf8("波〜")), Sj("波～"));
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].title, QStringLiteral("記憶の整理"));
    QCOMPARE(watcher.seen[0].text,
             QString::fromUtf8("コードページ 932 にない文字を似た文字に置き換え"
                               "ました: 「〜」(U+301C) → 「～」(U+FF5E)"));
    QCOMPARE(watcher.seen[0].icon, QMessageBox::Information);
    // Nothing replaced, nothing shown.
    QCOMPARE(editor::Typed(QString::fromUtf8("波～")), Sj("波～"));
    QCOMPARE(watcher.seen.size(), std::size_t{1});
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::TypedTextTest)
#include "typed_text_test.moc"
