#include "toolbars/FrameDrawing.h"

#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace {

void DrawRing(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight,
              unsigned flags) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const int left = r.x();
    const int top = r.y();
    const int right = r.x() + r.width() - 1;
    const int bottom = r.y() + r.height() - 1;
    if (flags & tbk::BF_TOP)
        painter.fillRect(QRect(left, top, r.width(), 1), topLeft);
    if (flags & tbk::BF_LEFT)
        painter.fillRect(QRect(left, top, 1, r.height()), topLeft);
    if (flags & tbk::BF_BOTTOM)
        painter.fillRect(QRect(left, bottom, r.width(), 1), bottomRight);
    if (flags & tbk::BF_RIGHT)
        painter.fillRect(QRect(right, top, 1, r.height()), bottomRight);
}

// Shrinks r by one pixel on every side that carries a ring.
QRect Inside(const QRect& r, unsigned flags) {
    return r.adjusted(flags & tbk::BF_LEFT ? 1 : 0, flags & tbk::BF_TOP ? 1 : 0,
                      flags & tbk::BF_RIGHT ? -1 : 0, flags & tbk::BF_BOTTOM ? -1 : 0);
}

}  // namespace

void DrawEdge(QPainter& painter, const QRect& R, unsigned edge, unsigned flags,
              const QPalette& palette) {
    const QColor highlight = palette.color(QPalette::Light);
    const QColor light = palette.color(QPalette::Midlight);
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor darkShadow = palette.color(QPalette::Shadow);
    const bool soft = flags & tbk::BF_SOFT;
    QRect r = R;
    // An inner edge drawn alone takes the outer ring's place, in its own colours.
    const unsigned outer = edge & (tbk::BDR_RAISEDOUTER | tbk::BDR_SUNKENOUTER);
    const unsigned inner = edge & (tbk::BDR_RAISEDINNER | tbk::BDR_SUNKENINNER);
    if (outer) {
        if (outer & tbk::BDR_RAISEDOUTER)
            DrawRing(painter, r, soft ? highlight : light, darkShadow, flags);
        else
            DrawRing(painter, r, soft ? darkShadow : shadow, highlight, flags);
        r = Inside(r, flags);
    }
    if (inner) {
        const bool softer = soft && outer;
        if (inner & tbk::BDR_RAISEDINNER)
            DrawRing(painter, r, softer ? light : highlight, shadow, flags);
        else
            DrawRing(painter, r, softer ? shadow : darkShadow, light, flags);
        r = Inside(r, flags);
    }
    if (flags & tbk::BF_MIDDLE)
        painter.fillRect(r, palette.color(QPalette::Button));
}

void DrawCaptionCloseButton(QPainter& painter, const QRect& R, bool pushed,
                            const QPalette& palette) {
    DrawEdge(painter, R, pushed ? tbk::EDGE_SUNKEN : tbk::EDGE_RAISED,
             tbk::BF_RECT | tbk::BF_MIDDLE | tbk::BF_SOFT, palette);
    // The cross fills the face less a margin of about a quarter of the button.
    const int margin = qMax(3, R.width() / 4);
    QRect cross = R.adjusted(margin, margin, -margin, -margin);
    if (pushed)
        cross.translate(1, 1);
    if (cross.width() < 2 || cross.height() < 2)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor ink = palette.color(QPalette::ButtonText);
    const int size = qMin(cross.width(), cross.height());
    for (int i = 0; i < size; ++i) {
        // Two pixels wide, as the system glyph.
        painter.fillRect(QRect(cross.x() + i, cross.y() + i, 2, 1), ink);
        painter.fillRect(QRect(cross.x() + size - 2 - i, cross.y() + i, 2, 1), ink);
    }
    painter.restore();
}

void DrawDropdownArrow(QPainter& painter, const QRect& R, bool enabled, const QColor& color,
                       const QPalette& palette) {
    // Five pixels wide, three high.
    const int x = R.x() + (R.width() - 5) / 2;
    const int y = R.y() + (R.height() - 3) / 2;
    auto triangle = [&](int dx, int dy, const QColor& ink) {
        for (int row = 0; row < 3; ++row)
            painter.fillRect(QRect(x + dx + row, y + dy + row, 5 - 2 * row, 1), ink);
    };
    if (enabled) {
        triangle(0, 0, color);
    } else {
        triangle(1, 1, palette.color(QPalette::Light));
        triangle(0, 0, palette.color(QPalette::Dark));
    }
}

void FillDithered(QPainter& painter, const QRect& R, const QPalette& palette) {
    painter.fillRect(R, palette.color(QPalette::Button));
    painter.fillRect(R, QBrush(palette.color(QPalette::Light), Qt::Dense4Pattern));
}

void DrawDottedRect(QPainter& painter, const QRect& R, const QColor& color) {
    if (R.width() <= 0 || R.height() <= 0)
        return;
    const int right = R.x() + R.width() - 1;
    const int bottom = R.y() + R.height() - 1;
    for (int x = R.x(); x <= right; x += 2) {
        painter.fillRect(QRect(x, R.y(), 1, 1), color);
        painter.fillRect(QRect(x, bottom, 1, 1), color);
    }
    for (int y = R.y(); y <= bottom; y += 2) {
        painter.fillRect(QRect(R.x(), y, 1, 1), color);
        painter.fillRect(QRect(right, y, 1, 1), color);
    }
}
