#include "toolbars/ToolbarLayout.h"

#include <QTest>

#include <vector>

namespace {

TToolbarLayoutItem Control(int width, int height) {
    return {width, height, false, false};
}
TToolbarLayoutItem Separator(bool blank = false) {
    return {6, 0, true, blank};
}

TToolbarLayout Floating(const std::vector<TToolbarLayoutItem>& items, int floatingWidth) {
    TToolbarLayoutInput input;
    input.Items = items;
    input.Floating = true;
    input.BarSize = ToolbarBarSize(items);
    input.LineThickness = input.BarSize;
    input.WrapLimit = EffectiveWrapLimit(floatingWidth, items);
    return LayoutToolbar(input);
}

}  // namespace

// Placement of toolbar controls in lines and the sizes a floating toolbar snaps to.
class ToolbarLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void emptyToolbarHasMarginsAroundEightPixels() {
        QCOMPARE(Floating({}, 0).ClientSize, QSize(16, 11));
        TToolbarLayoutInput docked;
        QCOMPARE(LayoutToolbar(docked).ClientSize, QSize(8, 8));
    }

    void dockedLineCentresControlsAcrossTheRow() {
        const std::vector items{Control(23, 22), Control(40, 10), Separator(), Control(23, 22)};
        TToolbarLayoutInput input;
        input.Items = items;
        input.BarSize = ToolbarBarSize(items);
        input.LineThickness = 30;  // a thicker row of the dock
        const TToolbarLayout layout = LayoutToolbar(input);
        QCOMPARE(layout.ItemRects[0], QRect(0, 4, 23, 22));
        QCOMPARE(layout.ItemRects[1], QRect(23, 10, 40, 10));
        QCOMPARE(layout.ItemRects[2], QRect(63, 0, 6, 30));
        QCOMPARE(layout.ItemRects[3], QRect(69, 4, 23, 22));
        QCOMPARE(layout.ClientSize, QSize(92, 22));
    }

    void verticalLineExchangesAxes() {
        // Along a vertical line the length is the control's height.
        const std::vector items{Control(22, 23), Separator(), Control(22, 23)};
        TToolbarLayoutInput input;
        input.Items = items;
        input.Vertical = true;
        input.BarSize = 23;
        input.LineThickness = 23;
        const TToolbarLayout layout = LayoutToolbar(input);
        QCOMPARE(layout.ItemRects[0], QRect(0, 0, 23, 22));
        QCOMPARE(layout.ItemRects[1], QRect(0, 22, 23, 6));
        QCOMPARE(layout.ItemRects[2], QRect(0, 28, 23, 22));
        QCOMPARE(layout.ClientSize, QSize(23, 50));
    }

    void zeroFloatingWidthNeverWraps() {
        const std::vector items(10, Control(23, 22));
        const TToolbarLayout layout = Floating(items, 0);
        QCOMPARE(layout.ClientSize, QSize(4 + 230 + 4, 2 + 22 + 1));
    }

    void limitBelowWidestControlWrapsAroundItsWidthPlusEight() {
        const std::vector items{Control(23, 22), Control(60, 22), Control(23, 22)};
        QCOMPARE(EffectiveWrapLimit(10, items), 68);
        const TToolbarLayout layout = Floating(items, 10);
        QCOMPARE(layout.ItemRects[1], QRect(4, 24, 60, 22));
        QCOMPARE(layout.ClientSize, QSize(68, 2 + 3 * 22 + 1));
    }

    void wrapAtSeparatorHidesItAndDrawsLine() {
        const std::vector items{Control(23, 22), Control(23, 22), Separator(),
                                Control(23, 22), Separator(true), Control(23, 22)};
        const TToolbarLayout layout = Floating(items, 60);
        // Line 1: two buttons; the separator after them wraps away.
        QCOMPARE(layout.ItemRects[2].width(), 0);
        QCOMPARE(layout.ItemRects[3], QRect(4, 2 + 22 + 6, 23, 22));
        QCOMPARE(layout.ItemRects[4].width(), 6);
        QCOMPARE(layout.ItemRects[5], QRect(33, 30, 23, 22));
        QCOMPARE(layout.LineSeparators.size(), std::size_t(1));
        QCOMPARE(layout.LineSeparators[0].Y, 30);
        QVERIFY(!layout.LineSeparators[0].Blank);
        QCOMPARE(layout.ClientSize, QSize(60, 30 + 22 + 1));
    }

    void potentialSizesAreWhereWrappingChanges() {
        const std::vector items(6, Control(20, 20));
        auto layout = [&](int limit) { return Floating(items, limit).ClientSize; };
        const std::vector<TPotentialSize> sizes = BuildPotentialSizes(layout);
        QCOMPARE(sizes.front().ClientSize, QSize(128, 23));
        QCOMPARE(sizes.front().WrapLimit, 0);
        std::vector<QSize> found;
        for (const TPotentialSize& size : sizes) {
            found.push_back(size.ClientSize);
            // Laying out again with the entry's limit gives the entry.
            QCOMPARE(layout(size.WrapLimit), size.ClientSize);
        }
        // Of the widths that give two lines only the narrowest stays (three per line); then
        // two and one per line.
        const std::vector<QSize> expected{QSize(128, 23), QSize(68, 43), QSize(48, 63),
                                          QSize(28, 123)};
        QCOMPARE(found, expected);
    }

    void snapTrackerStaysNearAndJumpsPastTheCursor() {
        TSnapTracker tracker({200, 150, 100, 60}, 2);
        QCOMPARE(tracker.Tolerance(), 12);
        QCOMPARE(tracker.Track(108), 2);  // within the tolerance
        QCOMPARE(tracker.Track(113), 1);  // growing: the shortest longer than the cursor
        QCOMPARE(tracker.Track(140), 1);
        QCOMPARE(tracker.Track(139), 2);  // turned back: the longest within the cursor
        QCOMPARE(tracker.Track(95), 2);   // within the tolerance again
        QCOMPARE(tracker.Track(50), 3);   // the shortest when none fits
        QCOMPARE(tracker.Track(900), 0);  // the longest when none is longer
    }

    void snapToleranceShrinksForCloseNeighbours() {
        TSnapTracker tracker({110, 104, 100}, 1);
        QCOMPARE(tracker.Tolerance(), 3);
        TSnapTracker touching({101, 100}, 1);
        QCOMPARE(touching.Tolerance(), 0);
    }
};

QTEST_APPLESS_MAIN(ToolbarLayoutTest)
#include "ToolbarLayoutTest.moc"
