#include <QTest>

#include <vector>

#include "desktop/toolkit/ScreenPlacement.h"

using toolkit::FitInRect;
using toolkit::ScreenAreaFor;

namespace {

// A 1280 by 1024 screen with a panel of 30 at its bottom, and a second one to its right.
const QRect kFirst(0, 0, 1280, 994);
const QRect kSecond(1280, 0, 1024, 768);

}  // namespace

class ScreenPlacementTest : public QObject {
    Q_OBJECT

  private slots:
    void windowsAreMovedWhollyOntoTheArea_data() {
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("inside stays")
            << QRect(100, 80, 960, 680) << kFirst << QRect(100, 80, 960, 680);
        // Left at an exit with 95 by 50 pixels of it on the screen.
        QTest::newRow("in a corner")
            << QRect(1185, 944, 960, 680) << kFirst << QRect(320, 314, 960, 680);
        QTest::newRow("on the second screen")
            << QRect(2000, 700, 700, 500) << kSecond << QRect(1604, 268, 700, 500);
        // Larger than the area: as small as it may be, from the area's top left.
        QTest::newRow("too large")
            << QRect(300, 200, 1400, 1200) << kSecond << QRect(1280, 0, 1024, 768);
        QTest::newRow("smaller than it may be")
            << QRect(300, 200, 1400, 1200) << QRect(1280, 0, 500, 300) << QRect(1280, 0, 640, 480);
    }
    void windowsAreMovedWhollyOntoTheArea() {
        QFETCH(QRect, bounds);
        QFETCH(QRect, area);
        QFETCH(QRect, placed);
        QCOMPARE(FitInRect(bounds, area, QSize(640, 480)), placed);
    }

    void theScreenIsTheOneHoldingMostOfTheWindowElseTheNearest() {
        const std::vector<QRect> areas{kFirst, kSecond};
        QCOMPARE(ScreenAreaFor(QRect(1000, 100, 600, 400), areas), kSecond);
        // Off both: the nearest.
        QCOMPARE(ScreenAreaFor(QRect(1500, 900, 600, 400), areas), kSecond);
        QCOMPARE(ScreenAreaFor(QRect(-900, 100, 600, 400), areas), kFirst);
    }
};

QTEST_GUILESS_MAIN(ScreenPlacementTest)
#include "ScreenPlacementTest.moc"
