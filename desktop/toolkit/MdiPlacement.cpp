#include "desktop/toolkit/MdiPlacement.h"

#include <QMdiSubWindow>

#include "desktop/toolkit/ScreenPlacement.h"

namespace toolkit {

void KeepInsideArea(QMdiSubWindow& frame) {
    const QWidget* viewport = frame.parentWidget();
    // A hidden area has no size yet, and places its children itself when it is shown.
    if (!viewport || !viewport->isVisible() || frame.isMaximized() || frame.isMinimized())
        return;
    frame.setGeometry(FitInRect(frame.geometry(), viewport->rect(), frame.minimumSizeHint()));
}

}  // namespace toolkit
