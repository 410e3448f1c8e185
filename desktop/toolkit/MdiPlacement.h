#pragma once

#include <QRect>

class QMdiSubWindow;

namespace toolkit {

// Fits an MDI child into the visible part of its area. A maximised or minimised child is left
// as it is: the area places those itself.
void KeepInsideArea(QMdiSubWindow& frame);

}  // namespace toolkit
