#include "desktop/testwindow/FuzzySetBoxGeometry.h"

#include <algorithm>
#include <cmath>

#include "core/sets/CFuzzySet.h"

namespace {

constexpr int kTickHalf = 4;
constexpr int kMarkerHalfWidth = 6;
constexpr int kMarkerHeight = 11;
// Room between the axis and the baselines of the texts under it and above the marker.
constexpr int kLabelDrop = 18;
constexpr int kValueRise = 4;

int AxisWidth(int width) {
    return width - 2 * FuzzySetBoxScene::kSideMargin;
}

void PlaceAxis(FuzzySetBoxScene& scene, int width, int axisY) {
    const int left = FuzzySetBoxScene::kSideMargin;
    const int right = width - FuzzySetBoxScene::kSideMargin;
    scene.axis = QLine(left, axisY, right, axisY);
    scene.endTicks = {QLine(left, axisY - kTickHalf, left, axisY + kTickHalf),
                      QLine(right, axisY - kTickHalf, right, axisY + kTickHalf)};
    scene.boundAnchors = {QPoint(left, axisY + kLabelDrop),
                          QPoint((left + right) / 2, axisY + kLabelDrop),
                          QPoint(right, axisY + kLabelDrop)};
}

// A triangle standing on the axis with its tip at the position.
void PlaceMarker(FuzzySetBoxScene& scene, int width, double position) {
    const int x = PixelAtPosition(position, width);
    const int y = scene.axis.y1();
    scene.hasMarker = true;
    scene.marker = QPolygon({QPoint(x, y), QPoint(x - kMarkerHalfWidth, y - kMarkerHeight),
                             QPoint(x + kMarkerHalfWidth, y - kMarkerHeight)});
    scene.valueAnchor = QPoint(x, y - kMarkerHeight - kValueRise);
}

}  // namespace

double PositionAtPixel(int x, int width) {
    const int axisWidth = AxisWidth(width);
    if (axisWidth <= 0)
        return 0.0;
    return std::clamp(static_cast<double>(x - FuzzySetBoxScene::kSideMargin) / axisWidth, 0.0, 1.0);
}

int PixelAtPosition(double position, int width) {
    return FuzzySetBoxScene::kSideMargin +
           static_cast<int>(std::lround(position * std::max(0, AxisWidth(width))));
}

FuzzySetBoxScene InputBoxScene(QSize size, double cursor) {
    FuzzySetBoxScene scene;
    PlaceAxis(scene, size.width(), size.height() / 2 + 6);
    PlaceMarker(scene, size.width(), cursor);
    return scene;
}

FuzzySetBoxScene OutputBoxScene(QSize size, const CFuzzySet* set, double lo, double hi,
                                double position) {
    FuzzySetBoxScene scene;
    const int top = FuzzySetBoxScene::kPlotMargin;
    const int bottom = size.height() - FuzzySetBoxScene::kPlotMargin;
    PlaceAxis(scene, size.width(), bottom);
    const int samples = AxisWidth(size.width());
    if (set && samples > 0) {
        scene.curve.reserve(samples + 1);
        for (int k = 0; k <= samples; ++k) {
            const double x = lo + (hi - lo) * k / samples;
            const double degree = set->Membership(x);
            scene.curve.append(
                QPoint(FuzzySetBoxScene::kSideMargin + k,
                       bottom - static_cast<int>(std::lround(degree * (bottom - top)))));
        }
    }
    if (position >= 0.0) {
        PlaceMarker(scene, size.width(), position);
        const int x = scene.marker.point(0).x();
        scene.markerLine = QLine(x, bottom, x, top);
        // The value stands beside the line, near the top of the plot.
        scene.valueAnchor = QPoint(x, top - kValueRise);
    }
    return scene;
}
