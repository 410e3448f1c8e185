#include "toolbars/Tbkcmn.h"

#include <QApplication>
#include <QEvent>
#include <QPlatformSurfaceEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The three application filters stand where the thread hooks of the original platform were:
// one for sent notifications, one for window destruction, one for retrieved mouse moves.
enum HookIndex { SentMessageHook, DestroyHook, MouseMoveHook, HookCount };

constexpr std::array<tbk::THookProcCodes, HookCount> kCodesOfHook = {
    tbk::THookProcCodes(tbk::hpSendActivateApp) | tbk::hpSendWindowPosChanged,
    tbk::THookProcCodes(tbk::hpPreDestroy),
    tbk::THookProcCodes(tbk::hpPostMouseMove),
};

void Dispatch(tbk::THookProcCode Code, QObject* Wnd, QEvent* Event);

// The application state that the last activation notice carried. Qt changes its state before
// it tells the application's windows, so this is what the windows' hooks must see.
std::optional<Qt::ApplicationState> notifiedState;

class HookFilter : public QObject {
  public:
    explicit HookFilter(HookIndex index) : index_(index) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Every event of the application passes here: decide on the type first.
        switch (event->type()) {
            case QEvent::ApplicationStateChange:
                if (index_ == SentMessageHook) {
                    notifiedState =
                        static_cast<QApplicationStateChangeEvent*>(event)->applicationState();
                    Dispatch(tbk::hpSendActivateApp, watched, event);
                }
                break;
            case QEvent::Show:
            case QEvent::Hide:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowStateChange:
                if (index_ == SentMessageHook && watched->isWidgetType() &&
                    static_cast<QWidget*>(watched)->isWindow())
                    Dispatch(tbk::hpSendWindowPosChanged, watched, event);
                break;
            case QEvent::PlatformSurface:
                if (index_ == DestroyHook && watched->isWindowType() &&
                    static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                        QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
                    Dispatch(tbk::hpPreDestroy, watched, event);
                break;
            case QEvent::MouseMove:
                if (index_ == MouseMoveHook && watched->isWidgetType())
                    Dispatch(tbk::hpPostMouseMove, watched, event);
                break;
            default:
                break;
        }
        return false;
    }

  private:
    HookIndex index_;
};

struct HookEntry {
    THookProc proc;
    int refCount;
    tbk::THookProcCodes codes;
};

struct SystemHook {
    int useCount = 0;
    std::unique_ptr<HookFilter> filter;
};

struct HookRegistry {
    std::vector<HookEntry> entries;
    std::array<SystemHook, HookCount> hooks;
};

// Application-wide by nature, like the event filters it installs; it lives from the first
// registration to the last removal.
std::unique_ptr<HookRegistry> registry;

void Dispatch(tbk::THookProcCode Code, QObject* Wnd, QEvent* Event) {
    if (!registry)
        return;
    // A procedure may register or remove procedures while it runs.
    std::vector<THookProc> procs;
    for (const HookEntry& entry : registry->entries)
        if (entry.codes.testFlag(Code))
            procs.push_back(entry.proc);
    for (THookProc proc : procs)
        proc(Code, Wnd, Event);
}

void RemoveAllHooks() {
    if (!registry)
        return;
    for (SystemHook& hook : registry->hooks)
        if (hook.filter && qApp)
            qApp->removeEventFilter(hook.filter.get());
    registry.reset();
    notifiedState.reset();
}

void RemoveHookFilter(SystemHook& hook) {
    if (!hook.filter)
        return;
    if (qApp)
        qApp->removeEventFilter(hook.filter.get());
    hook.filter.reset();
}

}  // namespace

void InstallHookProc(THookProc Proc, tbk::THookProcCodes Codes, bool OnlyIncrementCount) {
    if (!registry) {
        registry = std::make_unique<HookRegistry>();
        static bool finalizerAdded = false;
        if (!finalizerAdded && qApp) {
            qAddPostRoutine(&RemoveAllHooks);
            finalizerAdded = true;
        }
    }
    const auto found = std::find_if(registry->entries.begin(), registry->entries.end(),
                                    [Proc](const HookEntry& entry) { return entry.proc == Proc; });
    if (found != registry->entries.end())
        ++found->refCount;
    else
        registry->entries.push_back({Proc, 1, Codes});
    if (OnlyIncrementCount)
        return;
    for (int index = 0; index < HookCount; ++index) {
        if (!(Codes & kCodesOfHook[static_cast<std::size_t>(index)]))
            continue;
        SystemHook& hook = registry->hooks[static_cast<std::size_t>(index)];
        ++hook.useCount;
        if (!hook.filter && qApp) {
            hook.filter = std::make_unique<HookFilter>(static_cast<HookIndex>(index));
            qApp->installEventFilter(hook.filter.get());
        }
    }
}

void UninstallHookProc(THookProc Proc) {
    if (!registry)
        return;
    auto& entries = registry->entries;
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [Proc](const HookEntry& entry) { return entry.proc == Proc; });
    if (found == entries.end())
        return;
    const tbk::THookProcCodes codes = found->codes;
    if (--found->refCount == 0)
        entries.erase(found);
    for (int index = 0; index < HookCount; ++index) {
        if (!(codes & kCodesOfHook[static_cast<std::size_t>(index)]))
            continue;
        SystemHook& hook = registry->hooks[static_cast<std::size_t>(index)];
        if (hook.useCount > 0)
            --hook.useCount;
        if (hook.useCount == 0)
            RemoveHookFilter(hook);
    }
    if (entries.empty()) {
        for (SystemHook& hook : registry->hooks)
            RemoveHookFilter(hook);
        registry.reset();
        notifiedState.reset();
    }
}

bool ApplicationIsActive() {
    const Qt::ApplicationState state =
        notifiedState ? *notifiedState : QGuiApplication::applicationState();
    return state == Qt::ApplicationActive;
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c < 0 ? -static_cast<std::int64_t>(c) : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude =
        ((product < 0 ? -product : product) + half) / (c < 0 ? -static_cast<std::int64_t>(c) : c);
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(result);
}

namespace {

QRect WorkAreaOf(const QScreen* screen) {
    const QRect area = screen->availableGeometry();
    return area.isEmpty() ? screen->geometry() : area;
}

// Distance from a point to a rectangle, squared; 0 inside.
std::int64_t DistanceSquared(const QRect& r, const QPoint& p) {
    const std::int64_t dx =
        p.x() < r.left() ? r.left() - p.x() : (p.x() > r.right() ? p.x() - r.right() : 0);
    const std::int64_t dy =
        p.y() < r.top() ? r.top() - p.y() : (p.y() > r.bottom() ? p.y() - r.bottom() : 0);
    return dx * dx + dy * dy;
}

const QScreen* NearestScreen(const QPoint& p) {
    const QScreen* best = nullptr;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const std::int64_t distance = DistanceSquared(screen->geometry(), p);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = screen;
        }
    }
    return best;
}

}  // namespace

QRect GetRectOfPrimaryMonitor() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? WorkAreaOf(primary) : QRect();
}

QRect GetRectOfMonitorContainingRect(const QRect& R) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() <= 1)
        return GetRectOfPrimaryMonitor();
    const QScreen* best = nullptr;
    std::int64_t bestArea = 0;
    for (const QScreen* screen : screens) {
        const QRect common = screen->geometry().intersected(R);
        const std::int64_t area = static_cast<std::int64_t>(common.width()) * common.height();
        if (area > bestArea) {
            bestArea = area;
            best = screen;
        }
    }
    if (!best)
        best = NearestScreen(R.center());
    return best ? WorkAreaOf(best) : GetRectOfPrimaryMonitor();
}

QRect GetRectOfMonitorContainingPoint(const QPoint& P) {
    if (QGuiApplication::screens().size() <= 1)
        return GetRectOfPrimaryMonitor();
    const QScreen* screen = QGuiApplication::screenAt(P);
    if (!screen)
        screen = NearestScreen(P);
    return screen ? WorkAreaOf(screen) : GetRectOfPrimaryMonitor();
}
