#pragma once

#include <QLine>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <span>
#include <vector>

// The projection graph of the test window: the first output over one input, in a plot area from
// x = 40 to width - 20 and from y = 20 to height - 40. Computed when the samples or the size
// change; painting only reads it.
struct ProjectionScene {
    static constexpr int kLeft = 40;
    static constexpr int kRight = 20;
    static constexpr int kTop = 20;
    static constexpr int kBottom = 40;
    static constexpr int kMark = 3;
    static constexpr int kHighlightMark = 4;

    QRect plot;
    bool hasZeroLine = false;
    QLine zeroLine;
    QPolygon line;
    std::vector<QRect> marks;
    bool hasHighlight = false;
    QRect highlight;
    // Texts of lo, mid and hi of the input under the plot (anchors: top centre) and of the
    // output beside it (anchors: right end, vertical centre), bottom to top.
    std::array<QString, 3> inputTexts;
    std::array<QPoint, 3> inputAnchors;
    std::array<QString, 3> outputTexts;
    std::array<QPoint, 3> outputAnchors;
};

// outputs: steps + 1 values over [inputLo, inputHi] in equal steps; highlighted: an index of
// outputs to mark larger, or any other number for none. A value outside the output's context
// is drawn where it falls.
ProjectionScene ComputeProjectionScene(QSize size, std::span<const double> outputs, double inputLo,
                                       double inputHi, double outputLo, double outputHi,
                                       int highlighted);

// The projection point nearest to pixel x of a graph width pixels wide with the given steps:
// its index and its place in [0, 1] (the index times one step, in single precision, as the
// input cursor takes it).
struct ProjectionPick {
    int index = 0;
    double cursor = 0.0;
};
ProjectionPick PickProjectionPoint(int x, int width, int steps);
