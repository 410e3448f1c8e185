#include "desktop/WindowAttributes.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

#include <exception>

#include "desktop/toolkit/MdiPlacement.h"
#include "desktop/toolkit/ScreenPlacement.h"
#include "platform/registry/Registry.h"

namespace {

using platform::registry::Registry;
using platform::registry::Root;
using platform::registry::ValueType;

void PutInt32(std::uint8_t* at, int value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

int GetInt32(const std::uint8_t* at) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= std::uint32_t(at[i]) << (8 * i);
    return static_cast<int>(bits);
}

// The window that carries the form's frame: its MDI sub-window, or the form itself.
QWidget& FrameOf(QWidget& form) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form.parentWidget()))
        return *sub;
    return form;
}

bool Reachable(const QWidget& frame, const QRect& bounds) {
    if (bounds.width() <= 0 || bounds.height() <= 0)
        return false;
    if (!frame.isWindow()) {
        const QWidget* area = frame.parentWidget();
        return !area || bounds.intersects(area->rect());
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (bounds.intersects(screen->availableGeometry()))
            return true;
    }
    return false;
}

}  // namespace

std::array<std::uint8_t, 20> EncodeWindowPlacement(const WindowPlacement& placement) {
    std::array<std::uint8_t, 20> record{};
    PutInt32(&record[0], placement.Left);
    PutInt32(&record[4], placement.Top);
    PutInt32(&record[8], placement.Width);
    PutInt32(&record[12], placement.Height);
    record[16] = placement.Maximized ? 1 : 0;
    return record;
}

std::optional<WindowPlacement> DecodeWindowPlacement(std::span<const std::uint8_t> record) {
    if (record.size() != 20)
        return std::nullopt;
    return WindowPlacement{GetInt32(&record[0]), GetInt32(&record[4]), GetInt32(&record[8]),
                           GetInt32(&record[12]), record[16] != 0};
}

void SaveWindowAttributes(QWidget& form) {
    QWidget& frame = FrameOf(form);
    const bool maximized = frame.isMaximized();
    QRect bounds = frame.geometry();
    // A minimised MDI child's geometry is its icon's.
    if (maximized || frame.isMinimized()) {
        if (frame.isWindow() && frame.normalGeometry().isValid()) {
            bounds = frame.normalGeometry();
        } else {
            frame.showNormal();
            bounds = frame.geometry();
        }
    }
    const auto record =
        EncodeWindowPlacement({bounds.x(), bounds.y(), bounds.width(), bounds.height(), maximized});
    Registry registry;
    registry.CreateKey(Root::CurrentUser, kWindowAttributesKey);
    registry.WriteBinary(Root::CurrentUser, kWindowAttributesKey, form.windowTitle().toStdString(),
                         record);
}

void LoadWindowAttributes(QWidget& form) {
    try {
        Registry registry;
        const auto value = registry.ReadValue(Root::CurrentUser, kWindowAttributesKey,
                                              form.windowTitle().toStdString());
        if (!value || value->type != ValueType::Binary)
            return;
        const std::optional<WindowPlacement> placement = DecodeWindowPlacement(value->bytes);
        QWidget& frame = FrameOf(form);
        const QRect bounds(placement ? placement->Left : 0, placement ? placement->Top : 0,
                           placement ? placement->Width : 0, placement ? placement->Height : 0);
        if (!placement || !Reachable(frame, bounds))
            return;
        if (auto* child = qobject_cast<QMdiSubWindow*>(&frame)) {
            // Beside a maximised sibling the child is maximised already and stays so; its
            // normal bounds are then the area's business.
            if (!child->isMaximized()) {
                child->setGeometry(bounds);
                toolkit::KeepInsideArea(*child);
            }
        } else {
            frame.setGeometry(bounds);
            // Where the window was left may be mostly off the screen, or off a smaller one; its
            // frame is known only once it is shown, and then it is moved on again if need be.
            toolkit::KeepOnScreen(frame);
            toolkit::OnceFramed(frame, [&frame] { toolkit::KeepOnScreen(frame); });
        }
        if (placement->Maximized)
            frame.setWindowState(frame.windowState() | Qt::WindowMaximized);
    } catch (const std::exception&) {
        // A store that cannot be read leaves the designed placement.
    }
}
