#include "desktop/testwindow/SurfacePlacement.h"

#include <algorithm>

namespace {

// The start of a span of length within [first, last], or first when the span is longer.
int Within(int start, int length, int first, int last) {
    return std::max(first, std::min(start, last - length + 1));
}

}  // namespace

QPoint PlaceBeside(const QRect& anchor, const QSize& frame, const QRect& screen) {
    const int right = anchor.right() + 1;
    const int left = anchor.left() - frame.width();
    const bool fitsRight = right + frame.width() - 1 <= screen.right();
    const bool fitsLeft = left >= screen.left();
    const bool moreRoomLeft = anchor.left() - screen.left() > screen.right() - anchor.right();
    const int x = !fitsRight && (fitsLeft || moreRoomLeft) ? left : right;
    return {Within(x, frame.width(), screen.left(), screen.right()),
            Within(anchor.top(), frame.height(), screen.top(), screen.bottom())};
}
