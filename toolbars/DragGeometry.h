#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

// Geometry of a tool window's drag loop, as plain data in screen coordinates: the outline that
// follows the cursor, whether a dock takes the drop, and where a floating outline may go.

// Where the window was pressed, in its own coordinates, and its size less one pixel each way
// when the drag began: the press keeps its proportional place in an outline of any size.
struct TDragGrip {
    QPoint Press;
    QSize StartSize;
};

// The outline of a window of Size with the cursor at Cursor.
QRect DragOutline(const TDragGrip& Grip, QPoint Cursor, QSize Size);

// Whether the dock at DockRect (a left or right dock when Vertical) takes the window with the
// cursor at Cursor, Outline being the outline the window would have in it. The cursor may lie a
// little outside the dock, more so on the side away from the grip; an empty dock still takes a
// drop on its edge.
bool DockAcceptsDrag(const TDragGrip& Grip, QRect DockRect, bool Vertical, QPoint Cursor,
                     const QRect& Outline);

// The outline of the floating window (FloatingSize, its frame Frame) with the cursor at Cursor,
// kept on WorkArea so that it can be caught again: the cursor counts as inside the work area,
// the outline keeps a strip of itself on it, and its caption never rises above the top.
QRect FloatingDragOutline(const TDragGrip& Grip, QPoint Cursor, QSize FloatingSize,
                          const QMargins& Frame, const QRect& WorkArea);
