#pragma once

#include <QRect>

#include <vector>

// Bounds for n windows that share an area: "horizontally" stacks them as rows one above the
// other, "vertically" puts them side by side as columns. Every pixel of the area is used.
std::vector<QRect> TileRects(const QRect& area, int count, bool horizontally);

// Minimised windows lined up along the bottom of the area, left to right, wrapping upwards.
std::vector<QRect> ArrangeIconRects(const QRect& area, int count, QSize icon);
