#include "desktop/testwindow/FuzzySetPainting.h"

#include <QFontMetrics>
#include <QPainter>

#include "desktop/testwindow/FuzzySetBoxGeometry.h"

namespace {

// Text with its baseline at anchor.y(), the given share of its width left of anchor.x() (0 starts
// there, 1/2 centres on it, 1 ends there), kept inside the box.
void DrawAnchoredText(QPainter& painter, const QPoint& anchor, const QString& text, int share,
                      int shares) {
    const int width = painter.fontMetrics().horizontalAdvance(text);
    const int boxWidth = painter.device()->width();
    const int left = std::max(0, std::min(anchor.x() - width * share / shares, boxWidth - width));
    painter.drawText(QPoint(left, anchor.y()), text);
}

void DrawCentredText(QPainter& painter, const QPoint& anchor, const QString& text) {
    DrawAnchoredText(painter, anchor, text, 1, 2);
}

}  // namespace

QString FixedTwoDecimals(double value) {
    return QString::number(value, 'f', 2);
}

std::array<QString, 3> BoundTexts(double lo, double hi) {
    return {QString::number(lo, 'g', 15), QString::number((lo + hi) / 2, 'g', 15),
            QString::number(hi, 'g', 15)};
}

void PaintBoxScene(QPainter& painter, const FuzzySetBoxScene& scene, const QString& valueText,
                   const std::array<QString, 3>& boundTexts, const QColor& markerColor) {
    painter.setPen(Qt::black);
    if (!scene.curve.isEmpty()) {
        painter.setPen(QPen(QColor(0, 0, 160), 2));
        painter.drawPolyline(scene.curve);
        painter.setPen(Qt::black);
    }
    painter.drawLine(scene.axis);
    for (const QLine& tick : scene.endTicks)
        painter.drawLine(tick);
    // The bounds start and end at the axis, clear of the panel's labels left of the box.
    for (std::size_t k = 0; k < boundTexts.size(); ++k)
        DrawAnchoredText(painter, scene.boundAnchors[k], boundTexts[k], static_cast<int>(k), 2);
    if (!scene.hasMarker)
        return;
    if (!scene.markerLine.isNull()) {
        painter.setPen(QPen(markerColor, 1, Qt::DashLine));
        painter.drawLine(scene.markerLine);
        painter.setPen(Qt::black);
    }
    painter.setBrush(markerColor);
    painter.drawPolygon(scene.marker);
    DrawCentredText(painter, scene.valueAnchor, valueText);
}
