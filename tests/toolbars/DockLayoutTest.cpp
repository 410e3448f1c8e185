#include "toolbars/DockLayout.h"

#include <QTest>

#include <vector>

// Packing of a dock's rows, without widgets.
class DockLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void packs_data() {
        QTest::addColumn<std::vector<TDockLayoutBar>>("bars");
        QTest::addColumn<int>("room");
        QTest::addColumn<std::vector<int>>("dockPos");
        QTest::addColumn<std::vector<int>>("placed");
        using Bars = std::vector<TDockLayoutBar>;
        using Ints = std::vector<int>;
        QTest::newRow("apart stay")
            << Bars{{0, 0, 50, false}, {0, 100, 50, false}} << 300 << Ints{0, 100} << Ints{0, 100};
        QTest::newRow("overlap pushed right")
            << Bars{{0, 10, 50, false}, {0, 30, 50, false}} << 300 << Ints{10, 60} << Ints{10, 60};
        QTest::newRow("negative start") << Bars{{0, -8, 50, false}} << 300 << Ints{0} << Ints{0};
        QTest::newRow("end pulls left as far as allowed")
            << Bars{{0, 0, 50, false}, {0, 280, 50, false}} << 300 << Ints{0, 280} << Ints{0, 250};
        QTest::newRow("pull back stops at neighbour")
            << Bars{{0, 0, 100, false}, {0, 150, 100, false}, {0, 260, 100, false}} << 250
            << Ints{0, 150, 260} << Ints{0, 100, 200};
        QTest::newRow("too long keeps order, overflows")
            << Bars{{0, 0, 100, false}, {0, 100, 100, false}, {0, 200, 100, false}} << 150
            << Ints{0, 100, 200} << Ints{0, 100, 200};
        QTest::newRow("rows are independent")
            << Bars{{0, 40, 50, false}, {1, 0, 50, false}, {1, 20, 50, false}} << 300
            << Ints{40, 0, 50} << Ints{40, 0, 50};
        QTest::newRow("full size starts the row")
            << Bars{{0, 70, 300, true}} << 300 << Ints{0} << Ints{0};
    }

    void packs() {
        QFETCH(std::vector<TDockLayoutBar>, bars);
        QFETCH(int, room);
        QFETCH(std::vector<int>, dockPos);
        QFETCH(std::vector<int>, placed);
        const TDockPacking packing = PackDockRows(bars, room);
        QCOMPARE(packing.DockPos, dockPos);
        QCOMPARE(packing.Placed, placed);
    }

    void neverOverlapsNorGoesNegative() {
        // Seeded random rows; print the seed when a case fails.
        for (unsigned seed = 1; seed <= 200; ++seed) {
            std::srand(seed);
            std::vector<TDockLayoutBar> bars;
            const int count = 1 + std::rand() % 6;
            int pos = -20;
            for (int i = 0; i < count; ++i) {
                pos += std::rand() % 80 - 20;
                bars.push_back({0, pos, 10 + std::rand() % 60, false});
            }
            // Sorted by position, as the dock hands them over.
            std::sort(bars.begin(), bars.end(),
                      [](const auto& a, const auto& b) { return a.Pos < b.Pos; });
            const int room = std::rand() % 400;
            const TDockPacking packing = PackDockRows(bars, room);
            for (std::size_t i = 0; i < bars.size(); ++i) {
                QVERIFY2(packing.Placed[i] >= 0, qPrintable(QString("seed %1").arg(seed)));
                if (i > 0)
                    QVERIFY2(packing.Placed[i] >= packing.Placed[i - 1] + bars[i - 1].Length,
                             qPrintable(QString("seed %1").arg(seed)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(DockLayoutTest)
#include "DockLayoutTest.moc"
