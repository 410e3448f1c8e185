#pragma once

#include <QLine>
#include <QPoint>
#include <QPolygon>
#include <QSize>
#include <array>

class CFuzzySet;

// Where the fuzzy-set boxes draw, in pixels of the box: an axis 20 pixels in from either side,
// the cursor or result marker on it, the anchors of its texts and, in an output box, the
// output set over a plot area 30 pixels in from top and bottom. Computed when the size or the
// shown state changes; painting only reads it.
struct FuzzySetBoxScene {
    static constexpr int kSideMargin = 20;
    static constexpr int kPlotMargin = 30;

    QLine axis;
    std::array<QLine, 2> endTicks;
    bool hasMarker = false;
    QPolygon marker;
    // Bottom centre of the marker's value text; bottom centres of the texts of lo, (lo + hi) / 2
    // and hi under the axis.
    QPoint valueAnchor;
    std::array<QPoint, 3> boundAnchors;
    // Output boxes: the line from the marker up to the top of the plot, and the set.
    QLine markerLine;
    QPolygon curve;
};

// The normalised position [0, 1] under pixel x of a box width pixels wide; beyond either end
// of the axis it is pinned to that end.
double PositionAtPixel(int x, int width);
// The pixel of a normalised position on the axis.
int PixelAtPosition(double position, int width);

FuzzySetBoxScene InputBoxScene(QSize size, double cursor);
// set: sampled over [lo, hi], or null; position: of the crisp result, or negative for none.
FuzzySetBoxScene OutputBoxScene(QSize size, const CFuzzySet* set, double lo, double hi,
                                double position);
