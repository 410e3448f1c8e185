#include "desktop/FuzzySetBoxGeometry.h"

#include <QtTest>

#include "core/sets/CFuzzyDiscreteSet.h"
#include "desktop/FuzzySetPanelLayout.h"

class FuzzySetBoxGeometryTest : public QObject {
    Q_OBJECT

  private slots:
    void positionsArePinnedToTheAxis_data();
    void positionsArePinnedToTheAxis();
    void inputMarkerStandsOnTheAxisAtTheCursor();
    void outputSetSpansThePlotArea();
    void outputWithoutResultHasNoMarker();
    void panelChildrenSpreadOverTheHeight();
};

void FuzzySetBoxGeometryTest::positionsArePinnedToTheAxis_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<double>("position");
    // A box 240 wide: the axis runs from 20 to 220.
    QTest::newRow("left of the axis") << -30 << 0.0;
    QTest::newRow("axis start") << 20 << 0.0;
    QTest::newRow("quarter") << 70 << 0.25;
    QTest::newRow("axis end") << 220 << 1.0;
    QTest::newRow("right of the axis") << 400 << 1.0;
}

void FuzzySetBoxGeometryTest::positionsArePinnedToTheAxis() {
    QFETCH(int, x);
    QFETCH(double, position);
    QCOMPARE(PositionAtPixel(x, 240), position);
    QCOMPARE(PixelAtPosition(position, 240), std::clamp(x, 20, 220));
    // A box too narrow for an axis pins everything to its start.
    QCOMPARE(PositionAtPixel(x, 30), 0.0);
}

void FuzzySetBoxGeometryTest::inputMarkerStandsOnTheAxisAtTheCursor() {
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

void FuzzySetBoxGeometryTest::outputWithoutResultHasNoMarker() {
    const FuzzySetBoxScene scene = OutputBoxScene(QSize(240, 110), nullptr, 0.0, 1.0, -1.0);
    QVERIFY(!scene.hasMarker);
    QVERIFY(scene.curve.isEmpty());
    QCOMPARE(scene.axis, QLine(20, 80, 220, 80));
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
