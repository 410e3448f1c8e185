#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window with a frame of the given size opens beside anchor, all in screen coordinates:
// right of anchor and level with its top when it fits there, else left of it, else on the side
// with more room; always moved in to lie within screen, as far as the screen is large enough.
QPoint PlaceBeside(const QRect& anchor, const QSize& frame, const QRect& screen);
