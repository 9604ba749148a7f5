// The windows' face on a machine without the Japanese faces they once named
// (ctest runs this under fonts_without_the_named_faces.conf).

#include "qt/fonts.h"

#include <QFontDatabase>
#include <QTest>

namespace holvan::testing {
namespace {

class FontsTest : public QObject {
  Q_OBJECT

 private slots:
  void NamesOneInstalledJapaneseFace() {
    const QStringList families = WindowFont(15).families();
    QCOMPARE(families.size(), 1);
    QVERIFY(QFontDatabase::hasFamily(families.front()));
    QVERIFY(QFontDatabase::writingSystems(families.front())
                .contains(QFontDatabase::Japanese));
  }
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::FontsTest)
#include "fonts_test.moc"
