#pragma once

#include <QMargins>
#include <QRect>

#include <functional>
#include <span>

class QWidget;

namespace toolkit {

// The bounds moved, and shrunk no further than to the smallest size, so that they lie wholly
// inside the area when they fit there. What cannot fit starts at the area's top left corner, so
// that its title bar and its buttons are the part left in reach.
QRect FitInRect(const QRect& bounds, const QRect& area, const QSize& smallest);

// Of the screens' available areas, the one that holds most of the frame; when it lies on none,
// the one nearest to its top left corner. Empty when there are no areas.
QRect ScreenAreaFor(const QRect& frame, std::span<const QRect> areas);

// The frame a window manager puts around a top-level window: its own once it has been framed,
// else that of another framed window of the program, else none.
QMargins FrameMargins(const QWidget& window);

// Moves a top-level window, frame included, wholly onto the available area of the screen it
// lies on most when it fits there, else to that area's top left. A maximised, minimised or full
// screen window is left to the window system.
void KeepOnScreen(QWidget& window);

// Runs place once, when the window system first shows the top-level window: only then are its
// frame and its final size known.
void OnceFramed(QWidget& window, std::function<void()> place);

}  // namespace toolkit
