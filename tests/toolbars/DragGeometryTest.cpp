#include "toolbars/DragGeometry.h"

#include <QTest>

// The drag loop's outline, dock acceptance and work-area clamping, as numbers, for a window of
// 100 x 30.
class DragGeometryTest : public QObject {
    Q_OBJECT

    static TDragGrip GripAt(QPoint Press) { return {Press, QSize(99, 29)}; }

  private slots:
    void outlineKeepsThePressInProportion() {
        QCOMPARE(DragOutline(GripAt({10, 5}), {200, 300}, {200, 60}), QRect(180, 290, 200, 60));
    }

    void acceptance_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QRect>("dock");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<bool>("accepted");
        const QRect top(0, 0, 600, 30);
        QTest::newRow("reach beside") << QPoint(0, 0) << top << QPoint(-32, 10) << true;
        QTest::newRow("past the reach") << QPoint(0, 0) << top << QPoint(-33, 10) << false;
        QTest::newRow("grip at right reaches further")
            << QPoint(99, 29) << top << QPoint(631, 49) << true;
        QTest::newRow("above, out of reach") << QPoint(0, 0) << top << QPoint(300, -21) << false;
        QTest::newRow("empty dock takes its edge")
            << QPoint(0, 0) << QRect(0, 400, 600, 0) << QPoint(300, 390) << true;
        QTest::newRow("side dock wants the cursor along it")
            << QPoint(0, 0) << QRect(0, 30, 40, 300) << QPoint(20, 29) << false;
    }

    void acceptance() {
        QFETCH(QPoint, press);
        QFETCH(QRect, dock);
        QFETCH(QPoint, cursor);
        QFETCH(bool, accepted);
        const bool vertical = dock.height() > dock.width();
        const QRect outline = DragOutline(GripAt(press), cursor, {100, 30});
        QCOMPARE(DockAcceptsDrag(GripAt(press), dock, vertical, cursor, outline), accepted);
        QVERIFY(!DockAcceptsDrag(GripAt(press), dock, vertical, cursor, {0, 900, 10, 10}));
    }

    void floatingStaysOnTheWorkArea_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QRect>("outline");
        QTest::newRow("inside") << QPoint(10, 5) << QPoint(500, 400) << QRect(490, 395, 100, 30);
        QTest::newRow("far right") << QPoint(0, 0) << QPoint(5000, 400) << QRect(992, 400, 100, 30);
        QTest::newRow("far left") << QPoint(99, 5) << QPoint(-100, 400) << QRect(-92, 395, 100, 30);
        QTest::newRow("caption never above the top")
            << QPoint(10, 29) << QPoint(500, -300) << QRect(490, -15, 100, 30);
    }

    void floatingStaysOnTheWorkArea() {
        QFETCH(QPoint, press);
        QFETCH(QPoint, cursor);
        QFETCH(QRect, outline);
        QCOMPARE(FloatingDragOutline(GripAt(press), cursor, {100, 30}, QMargins(4, 19, 4, 4),
                                     QRect(0, 0, 1000, 800)),
                 outline);
    }
};

QTEST_APPLESS_MAIN(DragGeometryTest)
#include "DragGeometryTest.moc"
