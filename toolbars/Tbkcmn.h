#pragma once

#include <QFlags>
#include <QPoint>
#include <QRect>

#include <span>
#include <utility>

class QEvent;
class QObject;

// Shared application-wide hooks, sorting and screen helpers of the toolbar classes.

namespace tbk {

// Which notifications a hook procedure hears (order is part of the design).
enum THookProcCode : unsigned {
    hpSendActivateApp = 0x1,       // the application became active or inactive
    hpSendWindowPosChanged = 0x2,  // a window was shown, hidden, moved, sized or re-stated
    hpPreDestroy = 0x4,            // a window's native surface is about to be destroyed
    hpPostMouseMove = 0x8,         // a mouse move reached a widget
};
Q_DECLARE_FLAGS(THookProcCodes, THookProcCode)
Q_DECLARE_OPERATORS_FOR_FLAGS(THookProcCodes)

}  // namespace tbk

// Wnd is the object the event was sent to (the application for hpSendActivateApp, the widget
// for hpSendWindowPosChanged and hpPostMouseMove, the native window for hpPreDestroy).
using THookProc = void (*)(tbk::THookProcCode Code, QObject* Wnd, QEvent* Event);

// Registers Proc (or counts one more registration of it; the codes of the first one stay) and,
// unless OnlyIncrementCount, installs the application event filters its codes need.
void InstallHookProc(THookProc Proc, tbk::THookProcCodes Codes, bool OnlyIncrementCount = false);
// Undoes one InstallHookProc; a filter goes when nothing needs it any more. Unknown procedures
// are ignored.
void UninstallHookProc(THookProc Proc);

// True while the application is active, as the last activation notice said (Qt's own state
// before any notice).
bool ApplicationIsActive();

// Win32's MulDiv: a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// Work areas: of the primary screen, and of the screen nearest to a rectangle or point.
QRect GetRectOfPrimaryMonitor();
QRect GetRectOfMonitorContainingRect(const QRect& R);
QRect GetRectOfMonitorContainingPoint(const QPoint& P);

// Sorts in place with Compare(a, b, ExtraData) < 0, == 0 or > 0. A quicksort around the middle
// item, so items that compare equal may change order; lists of fewer than two items are not
// touched (Compare is never called).
template <class T, class Compare, class Extra>
void ListSortEx(std::span<T> List, Compare compare, const Extra& ExtraData) {
    if (List.size() < 2)
        return;
    auto sortRange = [&](auto& self, int low, int high) -> void {
        int i;
        do {
            i = low;
            int j = high;
            const T pivot = List[static_cast<std::size_t>((low + high) >> 1)];
            do {
                while (compare(List[static_cast<std::size_t>(i)], pivot, ExtraData) < 0)
                    ++i;
                while (compare(List[static_cast<std::size_t>(j)], pivot, ExtraData) > 0)
                    --j;
                if (i <= j) {
                    std::swap(List[static_cast<std::size_t>(i)], List[static_cast<std::size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (low < j)
                self(self, low, j);
            low = i;
        } while (i < high);
    };
    sortRange(sortRange, 0, static_cast<int>(List.size()) - 1);
}
