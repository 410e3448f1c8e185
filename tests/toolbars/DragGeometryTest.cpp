#include "toolbars/DragGeometry.h"

#include <QTest>

// The drag loop's outline, dock acceptance and work-area clamping, as numbers.
class DragGeometryTest : public QObject {
    Q_OBJECT

    // A window of 100 x 30 pressed at Press.
    static TDragGrip GripAt(QPoint Press) { return {Press, QSize(99, 29)}; }

  private slots:
    void outlineKeepsThePressInProportion() {
        const TDragGrip grip = GripAt({10, 5});
        QCOMPARE(DragOutline(grip, {200, 300}, {100, 30}), QRect(190, 295, 100, 30));
        QCOMPARE(DragOutline(grip, {200, 300}, {200, 60}), QRect(180, 290, 200, 60));
    }

    void acceptance_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QRect>("dock");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QRect>("outline");
        QTest::addColumn<bool>("accepted");
        const QRect top(0, 0, 600, 30);
        const QRect left(0, 30, 40, 300);
        const QRect over(0, 0, 100, 30);
        QTest::newRow("inside") << QPoint(0, 0) << top << false << QPoint(300, 10) << over << true;
        QTest::newRow("reach beside, grip at left")
            << QPoint(0, 0) << top << false << QPoint(-32, 10) << over << true;
        QTest::newRow("past the reach beside")
            << QPoint(0, 0) << top << false << QPoint(-33, 10) << over << false;
        QTest::newRow("past the right edge, grip at left")
            << QPoint(0, 0) << top << false << QPoint(600, 10) << over << false;
        QTest::newRow("past the right edge, grip at right")
            << QPoint(99, 29) << top << false << QPoint(631, 10) << over << true;
        QTest::newRow("above, within reach")
            << QPoint(0, 0) << top << false << QPoint(300, -20) << over << true;
        QTest::newRow("above, out of reach")
            << QPoint(0, 0) << top << false << QPoint(300, -21) << over << false;
        QTest::newRow("outline apart")
            << QPoint(0, 0) << top << false << QPoint(300, 10) << QRect(0, 40, 100, 30) << false;
        QTest::newRow("empty dock takes its edge")
            << QPoint(0, 0) << QRect(0, 400, 600, 0) << false << QPoint(300, 390)
            << QRect(290, 390, 100, 30) << true;
        QTest::newRow("side dock wants the cursor along it")
            << QPoint(0, 0) << left << true << QPoint(20, 29) << QRect(0, 29, 30, 100) << false;
        QTest::newRow("side dock")
            << QPoint(0, 0) << left << true << QPoint(20, 100) << QRect(20, 100, 30, 100) << true;
    }

    void acceptance() {
        QFETCH(QPoint, press);
        QFETCH(QRect, dock);
        QFETCH(bool, vertical);
        QFETCH(QPoint, cursor);
        QFETCH(QRect, outline);
        QFETCH(bool, accepted);
        QCOMPARE(DockAcceptsDrag(GripAt(press), dock, vertical, cursor, outline), accepted);
    }

    void floatingStaysOnTheWorkArea_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QRect>("outline");
        QTest::newRow("inside") << QPoint(10, 5) << QPoint(500, 400) << QRect(490, 395, 100, 30);
        QTest::newRow("far right") << QPoint(0, 0) << QPoint(5000, 400) << QRect(992, 400, 100, 30);
        QTest::newRow("far left") << QPoint(99, 5) << QPoint(-100, 400) << QRect(-92, 395, 100, 30);
        QTest::newRow("far below")
            << QPoint(10, 0) << QPoint(500, 5000) << QRect(490, 792, 100, 30);
        QTest::newRow("caption never above the top")
            << QPoint(10, 29) << QPoint(500, -300) << QRect(490, -15, 100, 30);
    }

    void floatingStaysOnTheWorkArea() {
        QFETCH(QPoint, press);
        QFETCH(QPoint, cursor);
        QFETCH(QRect, outline);
        const QRect workArea(0, 0, 1000, 800);
        QCOMPARE(
            FloatingDragOutline(GripAt(press), cursor, {100, 30}, QMargins(4, 19, 4, 4), workArea),
            outline);
    }
};

QTEST_APPLESS_MAIN(DragGeometryTest)
#include "DragGeometryTest.moc"
