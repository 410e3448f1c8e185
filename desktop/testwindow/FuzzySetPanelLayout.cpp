#include "desktop/testwindow/FuzzySetPanelLayout.h"

#include <algorithm>

FuzzySetPanelPlacement PlaceFuzzySetPanel(QSize panel, const std::array<QSize, 6>& childSizes) {
    int heights = 0;
    for (const QSize& size : childSizes)
        heights += size.height();
    // Children taller than the panel (large fonts) keep a one-pixel gap rather than overlap.
    const int gap = std::max(1, (panel.height() - 20 - heights) / 5 + 1);

    FuzzySetPanelPlacement placement;
    int y = 10;
    for (std::size_t k = 0; k < childSizes.size(); ++k) {
        const bool isEdit = k % 2 == 1;
        const int width = isEdit ? FuzzySetPanelPlacement::kEditWidth : childSizes[k].width();
        placement.children[k] = QRect(10, y, width, childSizes[k].height());
        y += childSizes[k].height() + gap;
    }
    placement.box = QRect(95, 10, panel.width() - 105, panel.height() - 20);
    return placement;
}
