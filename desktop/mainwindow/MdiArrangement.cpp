#include "desktop/mainwindow/MdiArrangement.h"

#include <algorithm>

std::vector<QRect> TileRects(const QRect& area, int count, bool horizontally) {
    std::vector<QRect> rects;
    if (count <= 0)
        return rects;
    const int length = horizontally ? area.height() : area.width();
    for (int i = 0; i < count; ++i) {
        const int from = length * i / count;
        const int to = length * (i + 1) / count;
        rects.push_back(horizontally
                            ? QRect(area.left(), area.top() + from, area.width(), to - from)
                            : QRect(area.left() + from, area.top(), to - from, area.height()));
    }
    return rects;
}

std::vector<QRect> ArrangeIconRects(const QRect& area, int count, QSize icon) {
    std::vector<QRect> rects;
    const int perRow = std::max(1, area.width() / std::max(1, icon.width()));
    for (int i = 0; i < count; ++i) {
        const int column = i % perRow;
        const int row = i / perRow;
        rects.emplace_back(QPoint(area.left() + column * icon.width(),
                                  area.bottom() + 1 - (row + 1) * icon.height()),
                           icon);
    }
    return rects;
}

std::vector<QRect> CascadeRects(const QRect& area, int count, int step, QSize smallest) {
    std::vector<QRect> rects;
    const int offset = step * std::max(0, count - 1);
    const QSize size = QSize(area.width() - offset, area.height() - offset).expandedTo(smallest);
    for (int i = 0; i < count; ++i)
        rects.emplace_back(area.topLeft() + QPoint(i * step, i * step), size);
    return rects;
}
