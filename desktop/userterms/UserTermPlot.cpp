#include "desktop/userterms/UserTermPlot.h"

#include <QFontMetrics>

#include <cmath>

#include "core/math/NumericUtils.h"
#include "core/sets/CFuzzyParamSet.h"
#include "desktop/userterms/UserTermCells.h"

namespace userterm {

namespace {

const QColor kGridColor(128, 128, 128);

}  // namespace

int PlotGeometry::X(double v, double a, double b) const {
    return static_cast<int>(Left() + (v - a) / (b - a) * PlotWidth());
}

int PlotGeometry::Y(double membership) const {
    return static_cast<int>(Bottom() - membership * PlotHeight());
}

double PlotGeometry::ValueAt(int x, double lo, double hi) const {
    return Clamp(lo, lo + static_cast<double>(x - Left()) / PlotWidth() * (hi - lo), hi);
}

std::vector<PlotMarker> MarkersOf(std::string_view shapeName, const std::vector<double>& params) {
    const auto shape = FindShape(shapeName);
    if (!shape)
        return {};
    const auto at = [&](std::size_t i, double membership, Qt::GlobalColor color) {
        return PlotMarker{params.at(i), membership, QColor(color)};
    };
    switch (*shape) {
        case UserTermShape::kQuadratic:
            return {at(0, 0, Qt::red),  at(1, 0.5, Qt::green), at(2, 1, Qt::blue),
                    at(3, 1, Qt::blue), at(4, 0.5, Qt::green), at(5, 0, Qt::red)};
        case UserTermShape::kTrapezoid:
            return {at(0, 0, Qt::red), at(1, 1, Qt::blue), at(2, 1, Qt::blue), at(3, 0, Qt::red)};
        case UserTermShape::kTriang:
            return {at(0, 0, Qt::red), at(1, 1, Qt::blue), at(2, 0, Qt::red)};
        case UserTermShape::kGaussian:
            break;
    }
    // The spreads have no point.
    return {at(1, 1, Qt::blue), at(2, 1, Qt::blue)};
}

PlotBuilder::PlotBuilder(PlotGeometry geometry, const QFontMetrics& metrics, QColor textBackground)
    : geometry_(geometry), metrics_(metrics) {
    scene_.textBackground = textBackground;
}

void PlotBuilder::AddCurve(const CFuzzySet& set, QColor color, int width) {
    const double a = set.GetLowerBound();
    const double b = set.GetUpperBound();
    const int columns = geometry_.PlotWidth();
    PlotItem item{PlotItem::Kind::Polyline, color, width, {}, {}, {}};
    item.points.reserve(columns + 3);
    item.points << QPoint(geometry_.Left(), geometry_.Bottom());
    for (int i = 0; i <= columns; ++i) {
        const double x = a + static_cast<double>(i) / columns * (b - a);
        item.points << QPoint(geometry_.Left() + i, geometry_.Y(set.Membership(x)));
    }
    item.points << QPoint(geometry_.Right(), geometry_.Bottom());
    scene_.items.push_back(std::move(item));
}

void PlotBuilder::AddSets(std::span<const CFuzzySet* const> others, const CFuzzyParamSet* current,
                          double lo, double hi, bool userPage) {
    for (const CFuzzySet* set : others)
        AddCurve(*set, Qt::blue, 1);
    if (!current)
        return;
    std::vector<double> params(static_cast<std::size_t>(current->ParamCount()));
    current->GetParams(params);
    // A standard set lies on its own normalised universe, not on [lo, hi].
    AddMarkers(MarkersOf(current->GetTypeName(), params), current->GetLowerBound(),
               current->GetUpperBound());
    if (userPage)
        AddAxis();
    AddGrid(lo, hi);
    if (!userPage)
        AddAxis();
    AddCurve(*current, Qt::red, 2);
    if (userPage)
        AddBoundLabels(lo, hi);
}

void PlotBuilder::AddMarkers(const std::vector<PlotMarker>& markers, double a, double b) {
    for (const PlotMarker& marker : markers) {
        const int x = geometry_.X(marker.value, a, b);
        const int y =
            marker.membership == 0.5 ? geometry_.MiddleY() : geometry_.Y(marker.membership);
        scene_.items.push_back({PlotItem::Kind::Marker,
                                marker.color,
                                1,
                                {},
                                QRect(QPoint(x - 4, y - 4), QPoint(x + 4, y + 4)),
                                {}});
    }
}

void PlotBuilder::AddAxis() {
    AddLine({geometry_.Left(), geometry_.Bottom()}, {geometry_.Right(), geometry_.Bottom()},
            Qt::black);
}

void PlotBuilder::AddGrid(double lo, double hi) {
    const int bottom = geometry_.Bottom();
    for (int k = 0; k <= 20; ++k) {
        const int x = static_cast<int>(geometry_.Left() + k / 20.0 * geometry_.PlotWidth());
        AddLine({x, bottom}, {x, geometry_.Top()}, kGridColor);
        AddLine({x, static_cast<int>(bottom - 3.75)}, {x, static_cast<int>(bottom + 3.75)},
                Qt::black);
        AddCentredLabel(Format3(lo + k / 20.0 * (hi - lo)), x);
    }
    for (int k = 0; k <= 5; ++k) {
        const int y = static_cast<int>(bottom - k / 5.0 * geometry_.PlotHeight());
        AddLine({geometry_.Left(), y}, {geometry_.Right(), y}, kGridColor);
        AddLine({21, y}, {28, y}, Qt::black);
        const QString label = Format3(k / 5.0);
        const int width = metrics_.horizontalAdvance(label);
        AddText(label, QRect(20 - width, y - metrics_.height() / 2, width, metrics_.height()));
    }
}

void PlotBuilder::AddBoundLabels(double lo, double hi) {
    AddCentredLabel(FormatFull(lo), geometry_.Left());
    AddCentredLabel(FormatFull(hi), geometry_.Right());
    AddCentredLabel(FormatFull((lo + hi) / 2), geometry_.Width / 2);
}

void PlotBuilder::AddLine(QPoint from, QPoint to, QColor color) {
    PlotItem item{PlotItem::Kind::Polyline, color, 1, {}, {}, {}};
    item.points << from << to;
    scene_.items.push_back(std::move(item));
}

void PlotBuilder::AddText(const QString& text, QRect box) {
    scene_.items.push_back({PlotItem::Kind::Text, Qt::black, 1, {}, box, text});
}

void PlotBuilder::AddCentredLabel(const QString& text, int x) {
    const int width = metrics_.horizontalAdvance(text);
    AddText(text, QRect(x - width / 2, geometry_.Height - 20, width, metrics_.height()));
}

int NearestPoint(const std::array<double, 6>& params, double lo, double hi, PlotGeometry geometry,
                 int x, int y) {
    const double mouseX = x - geometry.Left();
    const double mouseY = y - geometry.Top();
    int best = 0;
    double bestDistance = 0;
    for (int i = 0; i < 6; ++i) {
        // Supports at the bottom, equilibria at half height, kernels at the top.
        const double factor = i == 0 ? 1.0 : std::floor(std::fabs(std::trunc(i - 2.5))) * 0.5;
        const double px =
            geometry.PlotWidth() * (params[static_cast<std::size_t>(i)] - lo) / (hi - lo);
        const double py = geometry.PlotHeight() * factor;
        const double distance = (px - mouseX) * (px - mouseX) + (py - mouseY) * (py - mouseY);
        if (i == 0 || distance <= bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace userterm
