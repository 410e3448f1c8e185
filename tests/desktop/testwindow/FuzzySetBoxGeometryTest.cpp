#include "desktop/testwindow/FuzzySetBoxGeometry.h"

#include <QtTest>

#include "core/sets/CFuzzyDiscreteSet.h"
#include "desktop/testwindow/FuzzySetPanelLayout.h"

class FuzzySetBoxGeometryTest : public QObject {
    Q_OBJECT

  private slots:
    void inputMarkerStandsOnTheAxisAtTheCursor();
    void outputSetSpansThePlotArea();
    void panelChildrenSpreadOverTheHeight();
};

void FuzzySetBoxGeometryTest::inputMarkerStandsOnTheAxisAtTheCursor() {
    // A box 240 wide: the axis runs from 20 to 220, and positions beyond it are pinned.
    QCOMPARE(PositionAtPixel(-30, 240), 0.0);
    QCOMPARE(PositionAtPixel(70, 240), 0.25);
    QCOMPARE(PositionAtPixel(400, 240), 1.0);
    QCOMPARE(PositionAtPixel(70, 30), 0.0);
    const FuzzySetBoxScene scene = InputBoxScene(QSize(240, 110), 0.75);
    QCOMPARE(scene.axis, QLine(20, 61, 220, 61));
    QCOMPARE(scene.endTicks[1].x1(), 220);
    QVERIFY(scene.hasMarker);
    QCOMPARE(scene.marker.point(0), QPoint(170, 61));
    QVERIFY(scene.marker.point(1).y() < 61);
    QCOMPARE(scene.valueAnchor.x(), 170);
    QVERIFY(scene.valueAnchor.y() < scene.marker.point(1).y());
    QCOMPARE(scene.boundAnchors[1].x(), 120);
    QVERIFY(scene.boundAnchors[0].y() > 61);
}

void FuzzySetBoxGeometryTest::outputSetSpansThePlotArea() {
    // A triangle over [0, 100] peaking at 50.
    std::vector<double> samples(101);
    for (int k = 0; k <= 100; ++k)
        samples[static_cast<std::size_t>(k)] = 1.0 - std::abs(k - 50) / 50.0;
    const CFuzzyDiscreteSet set(samples, 0.0, 100.0);
    const FuzzySetBoxScene scene = OutputBoxScene(QSize(240, 110), &set, 0.0, 100.0, 0.5);
    QCOMPARE(scene.axis.y1(), 80);
    QCOMPARE(scene.curve.size(), 201);
    QCOMPARE(scene.curve.first(), QPoint(20, 80));
    QCOMPARE(scene.curve.at(100), QPoint(120, 30));
    QCOMPARE(scene.curve.at(50), QPoint(70, 55));
    QCOMPARE(scene.curve.last(), QPoint(220, 80));
    QCOMPARE(scene.marker.point(0), QPoint(120, 80));
    QCOMPARE(scene.markerLine, QLine(120, 80, 120, 30));
}

void FuzzySetBoxGeometryTest::panelChildrenSpreadOverTheHeight() {
    const std::array<QSize, 6> sizes = {QSize(40, 14),  QSize(100, 20), QSize(38, 14),
                                        QSize(100, 20), QSize(110, 14), QSize(100, 20)};
    // (130 - 20 - 102) / 5 + 1 = 2 pixels between children.
    FuzzySetPanelPlacement placement = PlaceFuzzySetPanel(QSize(400, 130), sizes);
    QCOMPARE(placement.children[0], QRect(10, 10, 40, 14));
    QCOMPARE(placement.children[1], QRect(10, 26, 80, 20));
    QCOMPARE(placement.children[5], QRect(10, 102, 80, 20));
    QCOMPARE(placement.box, QRect(95, 10, 295, 110));
    // Crowded: the gap never drops below one pixel.
    placement = PlaceFuzzySetPanel(QSize(400, 100), sizes);
    QCOMPARE(placement.children[1].top(), 25);
}

QTEST_MAIN(FuzzySetBoxGeometryTest)
#include "FuzzySetBoxGeometryTest.moc"
