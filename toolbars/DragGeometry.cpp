#include "toolbars/DragGeometry.h"

#include "toolbars/Tbkcmn.h"

#include <algorithm>

namespace {

// Exclusive right and bottom edges, as the loop's arithmetic uses them.
int RightOf(const QRect& r) {
    return r.x() + r.width();
}
int BottomOf(const QRect& r) {
    return r.y() + r.height();
}

// How far beside and above or below a dock the cursor may be; the grip's place shares it out.
constexpr int kHorizontalReach = 32;
constexpr int kVerticalReach = 20;
// The strip of a floating outline that stays on the work area, beyond the frame.
constexpr int kKeptOnScreen = 4;

}  // namespace

QRect DragOutline(const TDragGrip& Grip, QPoint Cursor, QSize Size) {
    return QRect(Cursor.x() - MulDiv(Size.width() - 1, Grip.Press.x(), Grip.StartSize.width()),
                 Cursor.y() - MulDiv(Size.height() - 1, Grip.Press.y(), Grip.StartSize.height()),
                 Size.width(), Size.height());
}

bool DockAcceptsDrag(const TDragGrip& Grip, QRect DockRect, bool Vertical, QPoint Cursor,
                     const QRect& Outline) {
    if (Vertical && DockRect.width() == 0)
        DockRect.setWidth(1);
    if (!Vertical && DockRect.height() == 0)
        DockRect.setHeight(1);
    const int tx = MulDiv(kHorizontalReach, Grip.Press.x(), Grip.StartSize.width());
    const int ty = MulDiv(kVerticalReach, Grip.Press.y(), Grip.StartSize.height());
    const int x = Cursor.x();
    const int y = Cursor.y();
    if (!(DockRect.x() - (kHorizontalReach - tx) <= x && x <= RightOf(DockRect) + tx - 1))
        return false;
    if (Vertical && !(DockRect.y() <= y && y < BottomOf(DockRect)))
        return false;
    if (!(DockRect.y() - (kVerticalReach - ty) <= y && y <= BottomOf(DockRect) + ty - 1))
        return false;
    return Outline.intersects(DockRect);
}

QRect FloatingDragOutline(const TDragGrip& Grip, QPoint Cursor, QSize FloatingSize,
                          const QMargins& Frame, const QRect& WorkArea) {
    const QPoint clamped(std::clamp(Cursor.x(), WorkArea.x(), RightOf(WorkArea) - 1),
                         std::clamp(Cursor.y(), WorkArea.y(), BottomOf(WorkArea) - 1));
    QRect outline = DragOutline(Grip, clamped, FloatingSize);
    const int inset = Frame.left() + kKeptOnScreen;
    const QRect shrunk = WorkArea.adjusted(inset, inset, -inset, -inset);
    if (BottomOf(outline) < shrunk.y())
        outline.moveTop(shrunk.y() - outline.height());
    if (outline.y() > BottomOf(shrunk))
        outline.moveTop(BottomOf(shrunk));
    if (RightOf(outline) < shrunk.x())
        outline.moveLeft(shrunk.x() - outline.width());
    if (outline.x() > RightOf(shrunk))
        outline.moveLeft(RightOf(shrunk));
    const int highest = WorkArea.y() + kKeptOnScreen - Frame.top();
    if (outline.y() < highest)
        outline.moveTop(highest);
    return outline;
}
