#include "desktop/toolkit/MdiPlacement.h"

#include <QMdiSubWindow>

#include <algorithm>

namespace toolkit {

QRect FitInArea(const QRect& bounds, const QSize& area, const QSize& smallest) {
    const QSize size = bounds.size().boundedTo(area).expandedTo(smallest);
    const int x = std::clamp(bounds.x(), 0, std::max(0, area.width() - size.width()));
    const int y = std::clamp(bounds.y(), 0, std::max(0, area.height() - size.height()));
    return QRect(QPoint(x, y), size);
}

void KeepInsideArea(QMdiSubWindow& frame) {
    const QWidget* viewport = frame.parentWidget();
    // A hidden area has no size yet, and places its children itself when it is shown.
    if (!viewport || !viewport->isVisible() || frame.isMaximized() || frame.isMinimized())
        return;
    frame.setGeometry(FitInArea(frame.geometry(), viewport->size(), frame.minimumSizeHint()));
}

}  // namespace toolkit
