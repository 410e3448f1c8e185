#pragma once

#include <QRect>

#include <span>
#include <vector>

// Bounds for windows of the given smallest sizes that share an area: "horizontally" stacks them
// as rows one above the other, "vertically" puts them side by side as columns, in the order
// given. Every pixel of the area is used. A window keeps at least its smallest size: where the
// shares are too thin for it, each window starts at least a title bar's height after the one
// before and reaches to the area's end, columns also a title bar lower, so that with each
// window above the ones before, every title bar stays in sight.
std::vector<QRect> TileRects(const QRect& area, std::span<const QSize> smallest, bool horizontally,
                             int titleBar);

// Minimised windows lined up along the bottom of the area, left to right, wrapping upwards.
std::vector<QRect> ArrangeIconRects(const QRect& area, int count, QSize icon);
// The part of the area above the rows of ArrangeIconRects, where other windows leave the
// minimised ones in reach; the whole area when there are none.
QRect AreaAboveIcons(const QRect& area, int count, QSize icon);

// Bounds for n windows cascaded from the area's top left corner, each one step further right
// and down than the one before, so that each title bar shows below the next window's. They
// share one size, the room left after the last step, never below the smallest size.
std::vector<QRect> CascadeRects(const QRect& area, int count, int step, QSize smallest);
