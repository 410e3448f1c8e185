#include "desktop/toolkit/ScreenPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace toolkit {
namespace {

std::int64_t Overlap(const QRect& one, const QRect& other) {
    const QRect common = one & other;
    return common.isEmpty() ? 0 : std::int64_t(common.width()) * common.height();
}

std::int64_t DistanceSquared(const QRect& area, const QPoint& point) {
    const std::int64_t dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
    const std::int64_t dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
    return dx * dx + dy * dy;
}

QMargins OwnFrame(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle && handle->isExposed() ? handle->frameMargins() : QMargins();
}

// Watches a window until the window system first shows it, then places it and goes. A widget
// that has become a child by then (an MDI window) is the area's to place.
class FramedWatcher : public QObject {
  public:
    FramedWatcher(QWidget& window, std::function<void()> place)
        : QObject(&window), window_(window), place_(std::move(place)) {
        window.installEventFilter(this);
        if (window.isVisible())
            Watch();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Show)
            Watch();
        else if (event->type() == QEvent::Expose && watched == window_.windowHandle())
            PlaceWhenExposed();
        return false;
    }

  private:
    void Watch() {
        QWindow* handle = window_.isWindow() ? window_.windowHandle() : nullptr;
        if (!handle) {
            deleteLater();
            return;
        }
        handle->removeEventFilter(this);
        handle->installEventFilter(this);
        PlaceWhenExposed();
    }

    void PlaceWhenExposed() {
        const QWindow* handle = window_.windowHandle();
        if (!place_ || !handle || !handle->isExposed())
            return;
        const std::function<void()> place = std::move(place_);
        place_ = {};
        deleteLater();
        place();
    }

    QWidget& window_;
    std::function<void()> place_;
};

}  // namespace

QRect FitInRect(const QRect& bounds, const QRect& area, const QSize& smallest) {
    const QSize size = bounds.size().boundedTo(area.size()).expandedTo(smallest);
    const int x =
        std::clamp(bounds.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int y =
        std::clamp(bounds.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    return QRect(QPoint(x, y), size);
}

QRect ScreenAreaFor(const QRect& frame, std::span<const QRect> areas) {
    const QRect* best = nullptr;
    std::int64_t most = 0;
    for (const QRect& area : areas) {
        if (const std::int64_t overlap = Overlap(frame, area); overlap > most) {
            most = overlap;
            best = &area;
        }
    }
    if (best)
        return *best;
    std::int64_t nearest = std::numeric_limits<std::int64_t>::max();
    for (const QRect& area : areas) {
        if (const std::int64_t distance = DistanceSquared(area, frame.topLeft());
            distance < nearest) {
            nearest = distance;
            best = &area;
        }
    }
    return best ? *best : QRect();
}

QMargins FrameMargins(const QWidget& window) {
    if (const QMargins own = OwnFrame(window); !own.isNull())
        return own;
    // The program's windows share one kind of frame.
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == &window || !other->isVisible())
            continue;
        if (const QMargins frame = OwnFrame(*other); !frame.isNull())
            return frame;
    }
    return {};
}

void KeepOnScreen(QWidget& window) {
    if (!window.isWindow() || window.isMaximized() || window.isMinimized() || window.isFullScreen())
        return;
    const QMargins margins = FrameMargins(window);
    const QRect frame = window.geometry().marginsAdded(margins);
    std::vector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.push_back(screen->availableGeometry());
    const QRect area = ScreenAreaFor(frame, areas);
    if (area.isEmpty())
        return;
    // Shrunk for a smaller screen as far as its controls allow; never grown.
    const QSize smallest = window.minimumSizeHint()
                               .boundedTo(window.size())
                               .expandedTo(window.minimumSize())
                               .grownBy(margins);
    const QRect placed = FitInRect(frame, area, smallest).marginsRemoved(margins);
    if (placed != window.geometry())
        window.setGeometry(placed);
}

void OnceFramed(QWidget& window, std::function<void()> place) {
    new FramedWatcher(window, std::move(place));
}

}  // namespace toolkit
