#include <QTest>

#include <vector>

#include "desktop/mainwindow/MdiArrangement.h"

class MdiArrangementTest : public QObject {
    Q_OBJECT

  private slots:
    // Five windows that need 600 by 400 of a 1200 by 700 area: two of them ended as slivers
    // behind the others. Each now starts after the one before, in the area, reaching to its end;
    // columns one title bar lower each, so that the middle of every title bar stays in sight.
    void windowsThatDoNotFitOverlapBelowEachTitleBar_data() {
        QTest::addColumn<bool>("horizontally");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("step");
        QTest::newRow("rows") << true << 5 << 75;
        QTest::newRow("columns") << false << 5 << 150;
        QTest::newRow("more rows than the area holds") << true << 40 << 25;
    }
    void windowsThatDoNotFitOverlapBelowEachTitleBar() {
        QFETCH(bool, horizontally);
        QFETCH(int, count);
        QFETCH(int, step);
        const QRect area(0, 20, 1200, 700);
        std::vector<QSize> smallest(count, QSize(600, 400));
        smallest[1] = QSize(100, 100);
        const auto rects = TileRects(area, smallest, horizontally, 25);
        for (int i = 0; i < count; ++i) {
            const QRect& rect = rects[i];
            QCOMPARE(rect.topLeft(),
                     horizontally ? QPoint(0, 20 + i * step) : QPoint(i * step, 20 + i * 25));
            QVERIFY(rect.width() >= smallest[i].width() && rect.height() >= smallest[i].height());
            if (area.contains(rect.topLeft() + QPoint(600, 400)))
                QCOMPARE(rect.bottomRight(), area.bottomRight());
            // The title bar's middle, where its caption is, lies above every later window.
            const QPoint caption(rect.center().x(), rect.top() + 12);
            for (int later = i + 1; later < count; ++later)
                QVERIFY(!rects[later].contains(caption));
        }
    }

    // Six icons to a row: seven take two rows.
    void minimisedWindowsKeepTheBottomRows() {
        QCOMPARE(AreaAboveIcons(QRect(0, 0, 1000, 600), 7, QSize(160, 30)), QRect(0, 0, 1000, 540));
    }
};

QTEST_GUILESS_MAIN(MdiArrangementTest)
#include "MdiArrangementTest.moc"
