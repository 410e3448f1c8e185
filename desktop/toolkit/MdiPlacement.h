#pragma once

#include <QRect>

class QMdiSubWindow;

namespace toolkit {

// The bounds moved, and shrunk no further than to the smallest size, so that they lie wholly
// inside an area of the given size when they fit there. What cannot fit starts at the area's
// top left corner, so that its title bar and its buttons are the part left in reach.
QRect FitInArea(const QRect& bounds, const QSize& area, const QSize& smallest);

// Fits an MDI child into the visible part of its area. A maximised or minimised child is left
// as it is: the area places those itself.
void KeepInsideArea(QMdiSubWindow& frame);

}  // namespace toolkit
