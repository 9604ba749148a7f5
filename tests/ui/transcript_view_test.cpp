// The Transcript's view: how it follows the Transcript's changes and maps a
// selection back to the text.

#include "ui/transcript_view.h"

#include <QTest>
#include <QTextBlock>

#include "files/text_lines.h"
#include "qt/shown_text.h"
#include "qt/window_test_support.h"

namespace holvan::testing {
namespace {

class TranscriptViewTest : public QObject {
  Q_OBJECT

 private slots:
  void AppendsShowWhatTheWholeTextShows() {
    TranscriptView view;
    TextLines lines;
    lines.SetText("\r\n");
    view.Reload(lines.Text());
    for (const char* line : {"一行目", "", "三行目"}) {
      const NarrowText added = lines.Add(Sj(line));
      view.ShowAppended(lines.Text(), added.size());
      QCOMPARE(view.toPlainText(), ShownText(lines.Text()));
    }
    // A text without a final break, then one that ends in a lone CR.
    NarrowText text = Sj("末尾");
    const auto append = [&](const NarrowText& more) {
      text += more;
      view.ShowAppended(text, more.size());
    };
    view.Reload(text);
    append(Sj("\r\n続き\r"));
    QCOMPARE(view.toPlainText(), ShownText(text));
    append("\nz");
    QCOMPARE(view.toPlainText(), QString::fromUtf8("末尾\n続き\nz"));
    // A lead byte left at the end takes the appended trail byte.
    text = Sj("a\r\nb") + "\x82";
    view.Reload(text);
    append("\xA0");
    QCOMPARE(view.toPlainText(), QString::fromUtf8("a\nbあ"));
  }

  void DeletionsShowWhatTheWholeTextShows() {
    struct Case {
      const char* utf8;
      std::size_t begin;
      std::size_t length;
    };
    // Byte ranges in code page 932: each kana is two bytes.
    const Case cases[] = {
        {"あい\r\nうえ\r\n", 6, 6},     // the last line
        {"あい\r\nうえ\r\nお", 2, 6},   // across a break, joining two lines
        {"あい\r\nうえ\r\nお", 0, 12},  // all but the last line
        {"あい\r\nうえ", 4, 2},         // a break alone
        {"a\rX\nb", 2, 1},              // a lone CR and LF become one break
        {"あい\r\nうえ\r\n", 0, 12},    // everything
    };
    for (const Case& c : cases) {
      const NarrowText before = Sj(c.utf8);
      TranscriptView view;
      view.Reload(before);
      NarrowText after = before;
      after.erase(c.begin, c.length);
      view.ShowDeleted(after, c.begin, c.length);
      QCOMPARE(view.toPlainText(), ShownText(after));
    }
  }

  void SelectionAcrossLinesIsInWideUnits() {
    const NarrowText text = Sj("\r\nこんにちは\r\n太郎 > 元気\r\n");
    TranscriptView view;
    view.Reload(text);
    QTextCursor cursor(view.document());
    // From "にちは" to "太郎": shown 3..9 within "⏎こんにちは⏎太郎".
    cursor.setPosition(3);
    cursor.setPosition(9, QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);
    const WideRange range = view.Selection(text);
    QCOMPARE(range.begin, std::size_t{4});
    QCOMPARE(range.length, std::size_t{7});
  }

  void WordWrapAndPointerFollowDiaryMode() {
    TranscriptView view;
    const Qt::CursorShape normal = view.viewport()->cursor().shape();
    view.SetWordWrap(false);
    view.SetArrowPointer(true);
    QCOMPARE(view.lineWrapMode(), QPlainTextEdit::NoWrap);
    // The view does not put its own pointer back while the mouse moves.
    view.setPlainText(QStringLiteral("text"));
    view.show();
    QTest::mouseMove(view.viewport(), QPoint(5, 5));
    QTest::mouseMove(view.viewport(), QPoint(20, 8));
    QCOMPARE(view.viewport()->cursor().shape(), Qt::ArrowCursor);
    view.SetWordWrap(true);
    view.SetArrowPointer(false);
    QCOMPARE(view.lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(view.viewport()->cursor().shape(), normal);
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::TranscriptViewTest)
#include "transcript_view_test.moc"
