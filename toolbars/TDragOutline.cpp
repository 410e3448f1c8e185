#include "toolbars/TDragOutline.h"

#include <QPainter>
#include <QRegion>

TDragOutline::TDragOutline()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void TDragOutline::SetOutline(const QRect& ScreenRect, int FrameWidth) {
    if (ScreenRect == outline_ && FrameWidth == frameWidth_)
        return;
    outline_ = ScreenRect;
    frameWidth_ = qMax(1, FrameWidth);
    if (outline_.isEmpty()) {
        hide();
        return;
    }
    setGeometry(outline_);
    update();
    if (!isVisible())
        show();
}

void TDragOutline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect all = rect();
    const QRegion frame =
        QRegion(all).subtracted(all.adjusted(frameWidth_, frameWidth_, -frameWidth_, -frameWidth_));
    painter.setClipRegion(frame);
    // An 8 x 8 checkerboard, anchored to the screen so that the dots do not crawl.
    painter.setBrushOrigin(-outline_.topLeft());
    painter.fillRect(all, QBrush(Qt::black, Qt::Dense4Pattern));
}
