// Placing a window whole on given areas: where it is wanted, else moved the
// least way.

#include "qt/whole_on_screen.h"

#include <QTest>

namespace holvan::testing {
namespace {

class WholeOnScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void KeepsTheWantedPlaceOrMovesTheLeastWay() {
    const QSize frame(408, 244);
    // Whole where wanted.
    QCOMPARE(WholePosition({100, 325}, frame, {0, 0, 1280, 1024}),
             QPoint(100, 325));
    QCOMPARE(WholePosition({872, 780}, frame, {0, 0, 1280, 1024}),
             QPoint(872, 780));
    // Past the bottom, the right, the top panel, a left screen's edge.
    QCOMPARE(WholePosition({100, 325}, frame, {0, 0, 640, 512}),
             QPoint(100, 268));
    QCOMPARE(WholePosition({300, 100}, frame, {0, 0, 640, 512}),
             QPoint(232, 100));
    QCOMPARE(WholePosition({100, 0}, frame, {0, 27, 640, 485}),
             QPoint(100, 27));
    QCOMPARE(WholePosition({-100, 325}, frame, {-1280, 0, 1280, 1024}),
             QPoint(-408, 325));
    // Larger than the area: its top left corner stays on it.
    QCOMPARE(WholePosition({100, 325}, frame, {0, 0, 400, 200}), QPoint(0, 0));
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::WholeOnScreenTest)
#include "whole_on_screen_test.moc"
