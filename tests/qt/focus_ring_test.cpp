// The keyboard focus is seen on any window: the ring follows the focus
// around the controls, in a colour that stands out from the window, and the
// windows' texts stand out from what they are drawn on.

#include "qt/focus_ring.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "qt/colours.h"
#include "qt/window_test_support.h"
#include "support/waiting.h"

namespace holvan::testing {
namespace {

class FocusRingTest : public QObject {
  Q_OBJECT

 private slots:
  void TheRingFollowsTheFocus() {
    for (const QColor& background :
         {QColor(Qt::black), QColor(0xC0, 0xC0, 0xC0), QColor(Qt::white),
          kGrey}) {
      QWidget window;
      window.setPalette(FixedColours(background));
      auto* ring = new FocusRing(&window);
      auto* line = new QLineEdit(&window);
      line->setGeometry(10, 10, 100, 20);
      auto* button = new QPushButton(QStringLiteral("話す"), &window);
      button->setGeometry(120, 10, 50, 25);
      window.show();
      QVERIFY(QTest::qWaitForWindowActive(&window));
      for (QWidget* control :
           {static_cast<QWidget*>(line), static_cast<QWidget*>(button)}) {
        control->setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(
            ring->isVisible() &&
                ring->geometry().contains(
                    control->geometry().adjusted(-2, -2, 2, 2)),
            kPatienceMs);
      }
      QVERIFY(ContrastRatio(FocusRing::ColourOn(background), background) >= 3);
      button->clearFocus();
      QTRY_VERIFY_WITH_TIMEOUT(!ring->isVisible(), kPatienceMs);
    }
  }

  // Every text colour of the windows' palettes against its background.
  void TextsStandOutFromTheirBackgrounds() {
    const QPalette labels = FixedColoursOnBlack();
    QVERIFY(ContrastRatio(labels.color(QPalette::WindowText),
                          labels.color(QPalette::Window)) >= 4.5);
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> fields[] = {
        {QPalette::Text, QPalette::Base},
        {QPalette::PlaceholderText, QPalette::Base},
        {QPalette::ButtonText, QPalette::Button},
        {QPalette::HighlightedText, QPalette::Highlight}};
    // The grey views show no hints.
    const std::pair<QPalette, bool> palettes[] = {
        {FixedColours(Qt::black), true},
        {FixedColoursOnBlack(), true},
        {GreyFieldColours(FixedColours(Qt::black)), false}};
    for (const auto& [colours, hints] : palettes) {
      for (const auto& [text, background] : fields) {
        if (!hints && text == QPalette::PlaceholderText) continue;
        const double ratio =
            ContrastRatio(colours.color(QPalette::Active, text),
                          colours.color(QPalette::Active, background));
        QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1 on %2: %3")
                                              .arg(text)
                                              .arg(background)
                                              .arg(ratio)));
      }
    }
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::FocusRingTest)
#include "focus_ring_test.moc"
