#include "toolbars/TDragOutline.h"

#include <QPainter>
#include <QRegion>

TDragOutline::TDragOutline()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void TDragOutline::SetOutline(const QRect& ScreenRect, int FrameWidth) {
    FrameWidth = qMax(1, FrameWidth);
    if (ScreenRect == outline_ && FrameWidth == frameWidth_)
        return;
    outline_ = ScreenRect;
    frameWidth_ = FrameWidth;
    if (outline_.isEmpty()) {
        hide();
        return;
    }
    setGeometry(outline_);
    const QRect all(QPoint(0, 0), outline_.size());
    // Only the frame belongs to the window; a shaped window needs no compositor.
    setMask(QRegion(all).subtracted(
        all.adjusted(frameWidth_, frameWidth_, -frameWidth_, -frameWidth_)));
    update();
    if (!isVisible())
        show();
}

void TDragOutline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // An 8 x 8 checkerboard anchored to the screen, so that the dots do not crawl.
    painter.setBrushOrigin(-outline_.topLeft());
    painter.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
}
