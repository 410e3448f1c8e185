#include "desktop/mainwindow/MdiArrangement.h"

#include <algorithm>

std::vector<QRect> TileRects(const QRect& area, std::span<const QSize> smallest, bool horizontally,
                             int titleBar) {
    std::vector<QRect> rects;
    const int count = static_cast<int>(smallest.size());
    if (count == 0)
        return rects;
    const auto along = [horizontally](QSize size) {
        return horizontally ? size.height() : size.width();
    };
    const int length = along(area.size());
    bool sharesFit = true;
    int longest = 0;
    for (int i = 0; i < count; ++i) {
        longest = std::max(longest, along(smallest[i]));
        sharesFit =
            sharesFit && length * (i + 1) / count - length * i / count >= along(smallest[i]);
    }
    if (sharesFit) {
        for (int i = 0; i < count; ++i) {
            const int from = length * i / count;
            const int to = length * (i + 1) / count;
            rects.push_back(horizontally
                                ? QRect(area.left(), area.top() + from,
                                        std::max(area.width(), smallest[i].width()), to - from)
                                : QRect(area.left() + from, area.top(), to - from,
                                        std::max(area.height(), smallest[i].height())));
        }
        return rects;
    }
    // Each window reaches to the area's end and the next one starts a step further on; the
    // last one must still fit at its start.
    const int step =
        count > 1 ? std::max(titleBar, std::min(length / count, (length - longest) / (count - 1)))
                  : 0;
    for (int i = 0; i < count; ++i) {
        const int from = i * step;
        const int reach = std::max(length - from, along(smallest[i]));
        if (horizontally) {
            rects.emplace_back(area.left(), area.top() + from,
                               std::max(area.width(), smallest[i].width()), reach);
        } else {
            // A caption sits in the middle of its title bar: each column also starts a title
            // bar lower than the one before, which leaves the whole bar in sight.
            const int down = i * titleBar;
            rects.emplace_back(area.left() + from, area.top() + down, reach,
                               std::max(area.height() - down, smallest[i].height()));
        }
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

QRect AreaAboveIcons(const QRect& area, int count, QSize icon) {
    if (count <= 0)
        return area;
    const std::vector<QRect> icons = ArrangeIconRects(area, count, icon);
    QRect above = area;
    above.setBottom(icons.back().top() - 1);
    return above;
}

std::vector<QRect> CascadeRects(const QRect& area, int count, int step, QSize smallest) {
    std::vector<QRect> rects;
    const int offset = step * std::max(0, count - 1);
    const QSize size = QSize(area.width() - offset, area.height() - offset).expandedTo(smallest);
    for (int i = 0; i < count; ++i)
        rects.emplace_back(area.topLeft() + QPoint(i * step, i * step), size);
    return rects;
}
