// How a text is shown in the windows and how typed text is stored: breaks,
// bytes that are not code page 932, positions in wide units.

#include "qt/shown_text.h"

#include <QTest>

#include "qt/window_test_support.h"

namespace holvan::testing {
namespace {

class ShownTextTest : public QObject {
  Q_OBJECT

 private slots:
  void BreaksAndInvalidBytesAreOneUnitEach() {
    QCOMPARE(ShownText(Sj("a\r\nいい\rb\nc")),
             QString::fromUtf8("a\nいい\nb\nc"));
    // A lone trail byte and a lead byte at the end are not code page 932.
    QCOMPARE(ShownText("x\x40\xFD"
                       "y\x82"),
             QString::fromUtf8("x@\uFFFDy\uFFFD"));
    QCOMPARE(BreakCount("a\r\n\r\nb\rc\n"), std::size_t{4});
    QCOMPARE(BreakCount("\n\r"), std::size_t{2});
  }

  void ShownPositionsMapToWideUnits() {
    const NarrowText text = Sj("ab\r\nあい\r\n\r\nx");
    // Shown: a b ⏎ あ い ⏎ ⏎ x ; wide: a b CR LF あ い CR LF CR LF x.
    WideRange range = WideRangeOfShown(text, 1, 4);  // "b⏎あ"
    QCOMPARE(range.begin, std::size_t{1});
    QCOMPARE(range.length, std::size_t{4});
    range = WideRangeOfShown(text, 6, 8);  // the empty line's break and "x"
    QCOMPARE(range.begin, std::size_t{8});
    QCOMPARE(range.length, std::size_t{3});
    range = WideRangeOfShown(text, 3, 3);  // a caret before あ
    QCOMPARE(range.begin, std::size_t{4});
    QCOMPARE(range.length, std::size_t{0});
    range = WideRangeOfShown(text, 20, 30);
    QCOMPARE(range.begin, std::size_t{11});
    QCOMPARE(range.length, std::size_t{0});
  }

  // A zero byte in res.dat would end its reading at the next start.
  void TypedCharactersBeyondTheCodePageNeverBecomeZeroBytes() {
    const NarrowText geta = Sj("〓");
    QCOMPARE(TypedText(QString::fromUtf8("a\xF0\x90\x80\x80"
                                         "b")),
             "a" + geta + "b");
    const NarrowText overlong =
        TypedText(QString::fromUtf8("c\xE0\x80\x80"
                                    "d"));
    QVERIFY(overlong.find('\0') == NarrowText::npos);
    QCOMPARE(overlong.front(), 'c');
    QCOMPARE(overlong.back(), 'd');
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::ShownTextTest)
#include "shown_text_test.moc"
