#pragma once

#include <QRect>

#include <vector>

// Bounds for n windows that share an area: "horizontally" stacks them as rows one above the
// other, "vertically" puts them side by side as columns. Every pixel of the area is used.
std::vector<QRect> TileRects(const QRect& area, int count, bool horizontally);

// Minimised windows lined up along the bottom of the area, left to right, wrapping upwards.
std::vector<QRect> ArrangeIconRects(const QRect& area, int count, QSize icon);

// Bounds for n windows cascaded from the area's top left corner, each one step further right
// and down than the one before, so that each title bar shows below the next window's. They
// share one size, the room left after the last step, never below the smallest size.
std::vector<QRect> CascadeRects(const QRect& area, int count, int step, QSize smallest);
