#pragma once

#include <QColor>
#include <QFontMetrics>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <array>
#include <span>
#include <string_view>
#include <vector>

class CFuzzyParamSet;
class CFuzzySet;

// The drawing of the user-expressions editor's plots as plain data: the pixel mapping, the
// curves, parameter markers, grid and labels in the order they are painted, and the nearest
// parameter point under the mouse. The editor builds a scene whenever its grid or the box's
// size changes; the paint box only draws it.
namespace userterm {

// Membership 0 lies 30 pixels above the bottom, 1 30 pixels below the top; values run from 25
// pixels right of the left edge to 25 left of the right edge. Coordinates are truncated.
struct PlotGeometry {
    int Width = 0;
    int Height = 0;

    int Left() const { return 25; }
    int Right() const { return Width - 25; }
    int Bottom() const { return Height - 30; }
    int Top() const { return 30; }
    int PlotWidth() const { return Width - 50; }
    int PlotHeight() const { return Height - 60; }
    // v on a universe [a, b].
    int X(double v, double a, double b) const;
    int Y(double membership) const;
    // Halving truncates, as the markers of the equilibria sit.
    int MiddleY() const { return Bottom() - PlotHeight() / 2; }
    // The value under pixel column x, clipped into [lo, hi].
    double ValueAt(int x, double lo, double hi) const;
};

struct PlotItem {
    enum class Kind { Polyline, Marker, Text };
    Kind kind = Kind::Polyline;
    QColor color;
    int width = 1;
    QPolygon points;  // a polyline, or a line as two points
    QRect rect;       // a marker's square, a text's box
    QString text;
};

// A background colour for texts, and items to paint in order.
struct PlotScene {
    QColor textBackground;
    std::vector<PlotItem> items;
};

struct PlotMarker {
    double value = 0.0;
    double membership = 0.0;
    QColor color;
};

// The parameter points of a set of the named shape from its parameters, left to right;
// nothing for a name that is not a user-term shape.
std::vector<PlotMarker> MarkersOf(std::string_view shapeName, const std::vector<double>& params);

// Builds the scene of a plot of sets on [lo, hi]: the other sets thin and blue, then the current
// one with its parameter points, the grid and axis, thick and red; without a current set only the
// others. The user page draws the axis under the grid and labels the bounds; the standard page
// draws the axis over the grid.
class PlotBuilder {
  public:
    PlotBuilder(PlotGeometry geometry, const QFontMetrics& metrics, QColor textBackground);

    void AddSets(std::span<const CFuzzySet* const> others, const CFuzzyParamSet* current, double lo,
                 double hi, bool userPage);

    PlotScene Take() { return std::move(scene_); }

  private:
    // The set's membership sampled once per pixel column over its own universe.
    void AddCurve(const CFuzzySet& set, QColor color, int width);
    void AddMarkers(const std::vector<PlotMarker>& markers, double a, double b);
    void AddAxis();
    // 21 vertical lines labelled lo .. hi and 6 horizontal ones labelled 0 .. 1.
    void AddGrid(double lo, double hi);
    // Over the first, last and middle tick labels.
    void AddBoundLabels(double lo, double hi);
    void AddLine(QPoint from, QPoint to, QColor color);
    void AddText(const QString& text, QRect box);
    void AddCentredLabel(const QString& text, int x);

    PlotGeometry geometry_;
    QFontMetrics metrics_;
    PlotScene scene_;
};

// The column offset (0 for column 3 .. 5 for column 8) of the parameter point nearest to the
// mouse at (x, y) in the box. params are the six parameter cells; a cell that has no point holds
// the largest double. On a tie the later point wins.
int NearestPoint(const std::array<double, 6>& params, double lo, double hi, PlotGeometry geometry,
                 int x, int y);

}  // namespace userterm
