#include "desktop/testwindow/QPainterDrawingSurface.h"

#include <QPainter>
#include <QVarLengthArray>

namespace {

QColor ToQColor(RgbColor color) {
    return QColor(color.red, color.green, color.blue);
}

}  // namespace

void QPainterDrawingSurface::SetPenColor(RgbColor color) {
    painter_.setPen(ToQColor(color));
}

void QPainterDrawingSurface::SetBrushColor(RgbColor color) {
    painter_.setBrush(ToQColor(color));
}

void QPainterDrawingSurface::MoveTo(ScreenPoint point) {
    current_ = QPoint(point.x, point.y);
}

void QPainterDrawingSurface::LineTo(ScreenPoint point) {
    const QPoint to(point.x, point.y);
    painter_.drawLine(current_, to);
    current_ = to;
}

void QPainterDrawingSurface::Polygon(std::span<const ScreenPoint> points) {
    QVarLengthArray<QPoint, 8> corners;
    for (const ScreenPoint& point : points)
        corners.append(QPoint(point.x, point.y));
    painter_.drawPolygon(corners.data(), static_cast<int>(corners.size()));
}

void QPainterDrawingSurface::Ellipse(int left, int top, int right, int bottom) {
    // The box's right and bottom edges lie outside the ellipse.
    painter_.drawEllipse(QRect(left, top, right - left, bottom - top));
}
