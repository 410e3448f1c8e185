#include "desktop/testwindow/ProjectionGraph.h"

#include <QtTest>
#include <cmath>
#include <limits>

class ProjectionGraphTest : public QObject {
    Q_OBJECT

  private slots:
    void pointsSpanThePlotArea();
    void zeroLineOnlyInsideTheOutputRange();
    void pickingSnapsToTheNearestStep_data();
    void pickingSnapsToTheNearestStep();
};

void ProjectionGraphTest::pointsSpanThePlotArea() {
    // Plot from x 40 to 340 and y 20 to 220 for a box of 360 by 260.
    const std::vector<double> outputs = {0.0, 5.0, 10.0, std::numeric_limits<double>::quiet_NaN()};
    const ProjectionScene scene =
        ComputeProjectionScene(QSize(360, 260), outputs, -1.0, 1.0, 0.0, 10.0, 1);
    QCOMPARE(scene.plot.topLeft(), QPoint(40, 20));
    QCOMPARE(scene.plot.bottomRight(), QPoint(340, 220));
    // A point without a value is left out of the line.
    QCOMPARE(scene.line.size(), 3);
    QCOMPARE(scene.line.at(0), QPoint(40, 220));
    QCOMPARE(scene.line.at(1), QPoint(140, 120));
    QCOMPARE(scene.line.at(2), QPoint(240, 20));
    QCOMPARE(scene.marks.size(), std::size_t{3});
    QCOMPARE(scene.marks[1].center(), QPoint(140, 120));
    QCOMPARE(scene.marks[1].width(), 7);
    QVERIFY(scene.hasHighlight);
    QCOMPARE(scene.highlight.width(), 9);
}

void ProjectionGraphTest::zeroLineOnlyInsideTheOutputRange() {
    const std::vector<double> outputs = {-1.0, 1.0};
    ProjectionScene scene = ComputeProjectionScene(QSize(360, 260), outputs, 0, 1, -2.0, 2.0, -2);
    QVERIFY(scene.hasZeroLine);
    QCOMPARE(scene.zeroLine, QLine(40, 120, 340, 120));
    QVERIFY(!scene.hasHighlight);
    scene = ComputeProjectionScene(QSize(360, 260), outputs, 0, 1, 0.0, 2.0, -1);
    QVERIFY(!scene.hasZeroLine);
}

void ProjectionGraphTest::pickingSnapsToTheNearestStep_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("index");
    // A graph 360 wide: positions over the 300 pixels from x = 40.
    QTest::newRow("left of the plot") << 0 << 25 << 0;
    QTest::newRow("just below half a step") << 40 + 5 << 25 << 0;
    QTest::newRow("just above half a step") << 40 + 7 << 25 << 1;
    QTest::newRow("middle, odd steps") << 190 << 25 << 13;
    QTest::newRow("right of the plot") << 500 << 25 << 25;
    QTest::newRow("one step") << 200 << 1 << 1;
}

void ProjectionGraphTest::pickingSnapsToTheNearestStep() {
    QFETCH(int, x);
    QFETCH(int, steps);
    QFETCH(int, index);
    const ProjectionPick pick = PickProjectionPoint(x, 360, steps);
    QCOMPARE(pick.index, index);
    QCOMPARE(pick.cursor, double(index * (1.0f / steps)));
}

QTEST_MAIN(ProjectionGraphTest)
#include "ProjectionGraphTest.moc"
