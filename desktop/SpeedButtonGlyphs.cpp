#include "desktop/SpeedButtonGlyphs.h"

#include <QPainter>
#include <QPixmap>

#include <functional>

namespace {

constexpr int kSize = 16;
const QColor kOutline(40, 40, 40);
const QColor kTitle(10, 36, 106);

QIcon Draw(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter);
    return QIcon(pixmap);
}

// A small window: white client, dark title bar.
void Window(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, Qt::white);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 3), kTitle);
    painter.setPen(kOutline);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

void Page(QPainter& painter) {
    const QPolygon outline({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}});
    painter.setPen(kOutline);
    painter.setBrush(Qt::white);
    painter.drawPolygon(outline);
    painter.drawLine(10, 1, 10, 4);
    painter.drawLine(10, 4, 13, 4);
}

}  // namespace

QIcon FileNewGlyph() {
    return Draw([](QPainter& painter) {
        Page(painter);
        painter.setPen(QColor(200, 160, 0));
        painter.drawLine(11, 9, 15, 9);
        painter.drawLine(13, 7, 13, 11);
    });
}

QIcon FileOpenGlyph() {
    return Draw([](QPainter& painter) {
        painter.setPen(kOutline);
        painter.setBrush(QColor(235, 200, 90));
        painter.drawPolygon(QPolygon({{1, 4}, {5, 4}, {7, 6}, {13, 6}, {13, 13}, {1, 13}}));
        painter.setBrush(QColor(250, 225, 130));
        painter.drawPolygon(QPolygon({{3, 8}, {15, 8}, {13, 13}, {1, 13}}));
    });
}

QIcon FileSaveGlyph() {
    return Draw([](QPainter& painter) {
        painter.setPen(kOutline);
        painter.setBrush(QColor(60, 90, 160));
        painter.drawRect(1, 1, 13, 13);
        painter.fillRect(4, 2, 8, 5, Qt::white);
        painter.fillRect(4, 9, 8, 5, QColor(200, 200, 200));
        painter.fillRect(9, 10, 2, 3, kOutline);
    });
}

QIcon CascadeGlyph() {
    return Draw([](QPainter& painter) {
        Window(painter, QRect(0, 0, 10, 8));
        Window(painter, QRect(3, 3, 10, 8));
        Window(painter, QRect(6, 7, 10, 8));
    });
}

QIcon TileHorizontallyGlyph() {
    return Draw([](QPainter& painter) {
        Window(painter, QRect(1, 1, 14, 7));
        Window(painter, QRect(1, 8, 14, 7));
    });
}

QIcon TileVerticallyGlyph() {
    return Draw([](QPainter& painter) {
        Window(painter, QRect(1, 1, 7, 14));
        Window(painter, QRect(8, 1, 7, 14));
    });
}

QIcon ApplicationGlyph() {
    QIcon icon;
    for (const int size : {16, 32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        painter.setBrush(QColor(250, 250, 245));
        painter.setPen(QPen(kOutline, 1.5));
        painter.drawRoundedRect(QRectF(1, 1, 30, 30), 4, 4);
        // Three overlapping fuzzy sets: small, medium, big.
        const QColor colours[] = {QColor(30, 110, 200), QColor(220, 140, 20), QColor(200, 40, 40)};
        for (int i = 0; i < 3; ++i) {
            painter.setPen(QPen(colours[i], 2.2));
            const double peak = 6 + 10.0 * i;
            painter.drawPolyline(QPolygonF({{peak - 8, 26}, {peak, 7}, {peak + 8, 26}}));
        }
        painter.setPen(QPen(kOutline, 1.5));
        painter.drawLine(QPointF(3, 26.5), QPointF(29, 26.5));
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon EditorGlyph() {
    return Draw([](QPainter& painter) {
        painter.fillRect(1, 2, 14, 12, Qt::white);
        painter.setPen(kOutline);
        painter.drawRect(1, 2, 13, 11);
        painter.fillRect(2, 3, 12, 2, QColor(190, 190, 190));
        painter.setPen(QColor(150, 150, 150));
        for (int y : {7, 10})
            painter.drawLine(2, y, 13, y);
        painter.drawLine(5, 3, 5, 12);
        painter.setPen(Qt::black);
        painter.drawLine(10, 3, 10, 12);
    });
}
