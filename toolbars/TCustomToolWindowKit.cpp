#include "toolbars/TCustomToolWindowKit.h"

#include "toolbars/DragGeometry.h"
#include "toolbars/EInvalidOperation.h"
#include "toolbars/FrameDrawing.h"
#include "toolbars/TDockKit.h"
#include "toolbars/TDragOutline.h"
#include "toolbars/TFloatingWindowParent.h"
#include "toolbars/Tbkcmn.h"
#include "toolbars/Tbkcnst.h"
#include "toolbars/Tbkvers.h"
#include "toolbars/ToolWindowFrame.h"

#include <QApplication>
#include <QChildEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Every floating tool window, for the hooks that re-evaluate their visibility.
std::vector<TCustomToolWindowKit*>& FloatingToolWindows() {
    static std::vector<TCustomToolWindowKit*> windows;
    return windows;
}

void JoinFloatingList(TCustomToolWindowKit* window) {
    auto& list = FloatingToolWindows();
    if (std::find(list.begin(), list.end(), window) == list.end())
        list.push_back(window);
}

void LeaveFloatingList(TCustomToolWindowKit* window) {
    auto& list = FloatingToolWindows();
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

void ToolWindowHookProc(tbk::THookProcCode Code, QObject* Wnd, QEvent*) {
    const std::vector<TCustomToolWindowKit*> windows = FloatingToolWindows();
    for (TCustomToolWindowKit* window : windows) {
        QWidget* form = GetToolWindowParentForm(window);
        switch (Code) {
            case tbk::hpSendActivateApp:
                window->UpdateVisibility();
                break;
            case tbk::hpSendWindowPosChanged:
                if (form == Wnd)
                    window->UpdateVisibility();
                break;
            case tbk::hpPreDestroy:
                if (form && static_cast<QObject*>(form->windowHandle()) == Wnd)
                    window->UpdateVisibility();
                break;
            case tbk::hpPostMouseMove:
                break;
        }
    }
}

constexpr tbk::THookProcCodes kToolWindowHookCodes =
    tbk::THookProcCodes(tbk::hpSendActivateApp) | tbk::hpSendWindowPosChanged | tbk::hpPreDestroy;

// Rectangles here use exclusive right and bottom edges, as the arithmetic of the loops does.
int RightOf(const QRect& r) {
    return r.x() + r.width();
}
int BottomOf(const QRect& r) {
    return r.y() + r.height();
}

bool HasVisibleChildAt(const QWidget* window, QPoint point) {
    const QWidget* child = window->childAt(point);
    return child && child->isVisible();
}

}  // namespace

struct TCustomToolWindowKit::Private {
    int dockPos = -1;
    int dockRow = 0;
    bool docked = false;
    TDockKit* dockedTo = nullptr;
    QPointer<TDockKit> defaultDock;
    QPointer<TDockKit> lastDock;
    TCloseQueryEvent onCloseQuery;

    bool activateParent = true;
    bool hideWhenInactive = true;
    bool closeButton = true;
    bool closeButtonWhenDocked = false;
    bool fullSize = false;
    bool resizable = true;
    bool showCaption = true;
    bool useLastDock = true;
    tbk::TBorderStyle borderStyle = tbk::bsSingle;
    tbk::TToolWindowDockMode dockMode = tbk::dmCanFloat;
    tbk::TDragHandleStyle dragHandleStyle = tbk::dhDouble;
    tbk::TDockableTo dockableTo{tbk::dpTop, tbk::dpBottom, tbk::dpLeft, tbk::dpRight};
    tbk::TToolWindowFloatingMode floatingMode = tbk::fmOnTopOfParentForm;
    std::optional<QColor> color;

    std::optional<tbk::TDockType> previousDockType;
    int boundsUpdateDepth = 0;
    int arrangeDisableDepth = 0;
    int moveEventDepth = 0;
    int hiddenDepth = 0;
    bool arrangePending = false;
    bool movedFlag = false;
    bool inactiveCaption = false;
    QPoint floatingTopLeft;
    // False until the bar was dragged out to float or given a floating position.
    bool floatingTopLeftKnown = false;
    std::vector<QPointer<QWidget>> dockForms;
    QPointer<TFloatingWindowParent> host;
    bool closeButtonDown = false;

    bool visible = true;
    bool applyingVisibility = false;
    bool arrangeRequested = false;
    bool destroying = false;

    TFrameOptions frameOptions;
    TToolWindowFrame frame;
    QString fittedCaption;

    enum class Loop { None, Moving, Sizing, CloseTracking };
    Loop loop = Loop::None;
    std::unique_ptr<TDragOutline> outline;
    bool cursorOverridden = false;

    struct DockTarget {
        QPointer<TDockKit> dock;
        QSize size;
    };
    struct Moving {
        QPoint offset;
        QSize startSize;
        bool canFloat = true;
        bool controlDown = false;
        std::vector<DockTarget> docks;
        QSize floatingSize;
        QPoint cursor;
        QPointer<TDockKit> target;
        QRect outline;
    } moving;

    struct Sizing {
        tbk::TToolWindowSizeHandle handle = tbk::twshRight;
        QRect startRect;
        QRect rect;
        QPoint startCursor;
        QSize minimum;
        bool clipCursor = false;
    } sizing;

    quint64 creationSequence = 0;

    bool Floating() const { return host != nullptr && !docked; }
};

TCustomToolWindowKit::TCustomToolWindowKit() : d(std::make_unique<Private>()) {
    static quint64 madeSoFar = 0;
    d->creationSequence = ++madeSoFar;
    setMouseTracking(true);
    InstallHookProc(&ToolWindowHookProc, kToolWindowHookCodes, false);
    UpdateFrameGeometry();
}

TCustomToolWindowKit::~TCustomToolWindowKit() {
    d->destroying = true;
    if (d->loop != Private::Loop::None)
        EndLoop(false);
    LeaveFloatingList(this);
    if (d->dockedTo)
        d->dockedTo->ForgetBar(this);
    if (d->lastDock && d->lastDock != d->dockedTo)
        d->lastDock->ForgetBar(this);
    if (d->host) {
        // The host has no other use; it cannot be deleted while its events may be on the stack.
        d->host->deleteLater();
    }
    UninstallHookProc(&ToolWindowHookProc);
}

// ---- placement ----------------------------------------------------------------------------

void TCustomToolWindowKit::SetParent(QWidget* AParent) {
    auto* newDock = qobject_cast<TDockKit*>(AParent);
    if (AParent && !newDock && !AParent->isWindow())
        throw EInvalidOperation(STBKToolwinParentNotAllowed);

    // A form parent is replaced by a floating host for that form.
    QWidget* newParent = AParent;
    if (AParent && !newDock) {
        QWidget* form = AParent;
        if (auto* host = qobject_cast<TFloatingWindowParent*>(AParent))
            form = host->ParentForm();
        if (d->host && d->host->ParentForm() == form)
            newParent = d->host;
        else
            newParent = new TFloatingWindowParent(form);
    }
    QWidget* oldParent = parentWidget();
    auto* oldDock = qobject_cast<TDockKit*>(oldParent);
    if (newParent == oldParent) {
        d->docked = newDock != nullptr;
        d->dockedTo = newDock;
        if (d->Floating())
            JoinFloatingList(this);
        else
            LeaveFloatingList(this);
        return;
    }

    const bool announce = !d->destroying && newParent;
    if (announce) {
        emit dockChanging();
        emit dockChangingEx(newDock);
        emit recreating();
    }
    ++d->hiddenDepth;
    ++d->moveEventDepth;
    UpdateVisibility();
    if (oldDock)
        oldDock->BeginUpdate();
    if (newDock)
        newDock->BeginUpdate();
    ++d->boundsUpdateDepth;
    if (newParent && d->previousDockType)
        CustomArrangeControls(*d->previousDockType, newDock, false);
    d->arrangePending = true;
    BeginUpdate();

    if (oldDock) {
        if (!d->useLastDock)
            oldDock->ChangeDockList(false, this);
        oldDock->ToolbarVisibilityChanged(this, true);
    }

    QPointer<TFloatingWindowParent> oldHost = qobject_cast<TFloatingWindowParent*>(oldParent);
    d->docked = newDock != nullptr;
    d->dockedTo = newDock;
    d->host = qobject_cast<TFloatingWindowParent*>(newParent);
    QWidget::setParent(newParent);
    CalculateNonClientSizes();
    if (oldHost && oldHost != d->host)
        oldHost->deleteLater();

    if (newDock) {
        if (d->useLastDock) {
            SetLastDock(newDock);
            newDock->ToolbarVisibilityChanged(this, false);
        } else {
            newDock->ChangeDockList(true, this);
        }
    }
    if (d->Floating()) {
        JoinFloatingList(this);
        d->host->SetOnTopOfAllForms(d->floatingMode == tbk::fmOnTopOfAllForms && isEnabled());
        SetBounds(d->floatingTopLeft.x(), d->floatingTopLeft.y(), width(), height());
    } else {
        LeaveFloatingList(this);
    }

    EndUpdate();
    d->previousDockType = GetDockTypeOf(newDock);
    --d->boundsUpdateDepth;
    --d->moveEventDepth;
    --d->hiddenDepth;
    if (newDock)
        newDock->EndUpdate();
    if (oldDock)
        oldDock->EndUpdate();
    UpdateVisibility();
    if (newParent)
        Moved();
    if (announce) {
        emit recreated();
        emit dockChanged();
    }
}

bool TCustomToolWindowKit::Docked() const {
    return d->docked;
}
TDockKit* TCustomToolWindowKit::DockedTo() const {
    return d->dockedTo;
}

void TCustomToolWindowKit::SetDockedTo(TDockKit* Value) {
    if (Value)
        SetParent(Value);
    else
        SetParent(ValidToolWindowParentForm(this));
}

int TCustomToolWindowKit::DockPos() const {
    return d->dockPos;
}

void TCustomToolWindowKit::SetDockPos(int Value) {
    d->dockPos = Value;
    if (d->docked)
        d->dockedTo->ArrangeToolbars(false);
}

int TCustomToolWindowKit::DockRow() const {
    return d->dockRow;
}

void TCustomToolWindowKit::SetDockRow(int Value) {
    d->dockRow = Value;
    if (d->docked)
        d->dockedTo->ArrangeToolbars(false);
}

void TCustomToolWindowKit::SetDockRowField(int Value) {
    d->dockRow = Value;
}
void TCustomToolWindowKit::SetDockPosField(int Value) {
    d->dockPos = Value;
}

TDockKit* TCustomToolWindowKit::DefaultDock() const {
    return d->defaultDock;
}
void TCustomToolWindowKit::SetDefaultDock(TDockKit* Value) {
    d->defaultDock = Value;
}
TDockKit* TCustomToolWindowKit::LastDock() const {
    return d->lastDock;
}

void TCustomToolWindowKit::SetLastDock(TDockKit* Value) {
    if (d->lastDock == Value)
        return;
    if (d->useLastDock && d->lastDock)
        d->lastDock->ChangeDockList(false, this);
    d->lastDock = Value;
    if (d->useLastDock && Value)
        Value->ChangeDockList(true, this);
}

QPoint TCustomToolWindowKit::FloatingTopLeft() const {
    return d->floatingTopLeft;
}
void TCustomToolWindowKit::SetFloatingTopLeft(QPoint Value) {
    d->floatingTopLeft = Value;
    d->floatingTopLeftKnown = true;
}
TFloatingWindowParent* TCustomToolWindowKit::FloatingParent() const {
    return d->host;
}

void TCustomToolWindowKit::DockDestroyed(TDockKit* Dock) {
    if (d->dockedTo == Dock) {
        d->dockedTo = nullptr;
        d->docked = false;
    }
    if (d->lastDock == Dock)
        d->lastDock = nullptr;
    if (d->defaultDock == Dock)
        d->defaultDock = nullptr;
}

void TCustomToolWindowKit::HostDestroyed(TFloatingWindowParent* Host) {
    if (d->host != Host)
        return;
    d->host = nullptr;
    LeaveFloatingList(this);
}

void TCustomToolWindowKit::DockFrameChanged() {
    CalculateNonClientSizes();
    ArrangeControls();
}

// ---- bounds -------------------------------------------------------------------------------

QRect TCustomToolWindowKit::BoundsRect() const {
    if (d->Floating())
        return QRect(d->host->pos(), size());
    if (d->docked)
        return QRect(pos() - d->dockedTo->ClientOrigin(), size());
    return geometry();
}

void TCustomToolWindowKit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const QRect old = BoundsRect();
    const bool sizeChanged = old.size() != QSize(AWidth, AHeight);
    if (d->boundsUpdateDepth == 0 && sizeChanged)
        SizeChanging(AWidth, AHeight);
    if (d->Floating()) {
        d->host->setGeometry(ALeft, ATop, AWidth, AHeight);
        QWidget::setGeometry(0, 0, AWidth, AHeight);
        d->floatingTopLeft = QPoint(ALeft, ATop);
    } else if (d->docked) {
        QWidget::setGeometry(
            QRect(d->dockedTo->ClientOrigin() + QPoint(ALeft, ATop), QSize(AWidth, AHeight)));
    } else {
        QWidget::setGeometry(ALeft, ATop, AWidth, AHeight);
    }
    // Hidden widgets get their resize events late; hit tests need the frame now.
    if (sizeChanged)
        UpdateFrameGeometry();
    if (old.topLeft() != QPoint(ALeft, ATop))
        Moved();
    // The dock packs its rows around the new length.
    if (d->docked && sizeChanged)
        d->dockedTo->ArrangeToolbars(false);
}

void TCustomToolWindowKit::SetBoundsFromDock(const QRect& ClientBounds) {
    ++d->boundsUpdateDepth;
    const QPoint oldPos = pos();
    QWidget::setGeometry(
        QRect(d->dockedTo->ClientOrigin() + ClientBounds.topLeft(), ClientBounds.size()));
    UpdateFrameGeometry();
    if (pos() != oldPos)
        Moved();
    --d->boundsUpdateDepth;
}

void TCustomToolWindowKit::Moved() {
    d->movedFlag = true;
    if (d->moveEventDepth == 0 && !d->destroying)
        emit moved();
}

void TCustomToolWindowKit::MoveOnScreen(bool OnlyIfFullyOffscreen) {
    if (!d->Floating())
        return;
    QRect r = BoundsRect();
    const QRect area = GetRectOfMonitorContainingRect(r);
    if (OnlyIfFullyOffscreen && r.intersects(area))
        return;
    if (RightOf(r) > RightOf(area))
        r.translate(RightOf(area) - RightOf(r), 0);
    if (BottomOf(r) > BottomOf(area))
        r.translate(0, BottomOf(area) - BottomOf(r));
    if (r.x() < area.x())
        r.translate(area.x() - r.x(), 0);
    if (r.y() < area.y())
        r.translate(0, area.y() - r.y());
    SetBounds(r.x(), r.y(), r.width(), r.height());
}

// ---- layout -------------------------------------------------------------------------------

void TCustomToolWindowKit::ArrangeControls() {
    CustomArrangeControls(GetDockTypeOf(d->dockedTo), d->dockedTo, true);
}

void TCustomToolWindowKit::CustomArrangeControls(tbk::TDockType PreviousDockType,
                                                 TDockKit* DockingTo, bool Resize) {
    if (d->arrangeDisableDepth > 0 || d->destroying || !parentWidget()) {
        d->arrangePending = true;
        return;
    }
    d->arrangeRequested = false;
    QSize client = OrderControls(true, PreviousDockType, DockingTo);
    const QMargins frame = NonClientSizesFor(DockingTo);
    if (Resize && d->docked) {
        const bool horizontal = GetDockTypeOf(d->dockedTo) == tbk::dtTopBottom;
        const int rowSize = GetDockRowSize();
        if (horizontal) {
            client.setHeight(std::max(client.height(), rowSize));
            if (d->fullSize)
                client.setWidth(d->dockedTo->ClientLength() - frame.left() - frame.right());
        } else {
            client.setWidth(std::max(client.width(), rowSize));
            if (d->fullSize)
                client.setHeight(d->dockedTo->ClientLength() - frame.top() - frame.bottom());
        }
    }
    const QSize outer(client.width() + frame.left() + frame.right(),
                      client.height() + frame.top() + frame.bottom());
    if (outer != size()) {
        ++d->boundsUpdateDepth;
        const QRect bounds = BoundsRect();
        SetBounds(bounds.x(), bounds.y(), outer.width(), outer.height());
        --d->boundsUpdateDepth;
        // A floating bar that grows with its controls grows wholly on the screen. Where the
        // person drags or sizes it, the loop's end keeps it in reach.
        if (d->loop == Private::Loop::None)
            MoveOnScreen(false);
    }
}

void TCustomToolWindowKit::BeginUpdate() {
    ++d->arrangeDisableDepth;
}

void TCustomToolWindowKit::EndUpdate() {
    if (d->arrangeDisableDepth > 0)
        --d->arrangeDisableDepth;
    if (d->arrangeDisableDepth == 0 && d->arrangePending) {
        d->arrangePending = false;
        ArrangeControls();
    }
}

void TCustomToolWindowKit::RequestArrange() {
    if (d->arrangeRequested)
        return;
    d->arrangeRequested = true;
    QCoreApplication::postEvent(this, new QEvent(QEvent::LayoutRequest));
}

void TCustomToolWindowKit::AddDockForm(QWidget* Form) {
    if (!Form)
        return;
    for (const auto& known : d->dockForms)
        if (known == Form)
            return;
    d->dockForms.emplace_back(Form);
}

void TCustomToolWindowKit::RemoveDockForm(QWidget* Form) {
    auto& forms = d->dockForms;
    forms.erase(
        std::remove_if(forms.begin(), forms.end(),
                       [Form](const QPointer<QWidget>& known) { return !known || known == Form; }),
        forms.end());
}

int TCustomToolWindowKit::GetDockRowSize() {
    if (d->docked) {
        d->dockedTo->BuildRowInfo();
        return d->dockedTo->GetRowSize(d->dockRow, this);
    }
    return GetBarSize(GetDockTypeOf(d->dockedTo));
}

void TCustomToolWindowKit::SizeChanging(int, int) {}
TToolWindowParams TCustomToolWindowKit::GetParams() const {
    return {};
}
void TCustomToolWindowKit::ResizeBegin(tbk::TToolWindowSizeHandle) {}
void TCustomToolWindowKit::ResizeTrack(QRect&, const QRect&) {}
void TCustomToolWindowKit::ResizeEnd(bool) {}
void TCustomToolWindowKit::InitializeOrdering() {}
void TCustomToolWindowKit::ReadPositionData(const TPositionReadIntProc&,
                                            const TPositionReadStringProc&) {}
void TCustomToolWindowKit::DoneReadingPositionData(const TPositionReadIntProc&,
                                                   const TPositionReadStringProc&) {}
void TCustomToolWindowKit::WritePositionData(const TPositionWriteIntProc&,
                                             const TPositionWriteStringProc&) {}
bool TCustomToolWindowKit::ChildControlTransparent(QWidget*) {
    return false;
}
void TCustomToolWindowKit::ControlInserted(QWidget*) {}
void TCustomToolWindowKit::ControlRemoved(QObject*) {}

void TCustomToolWindowKit::DoDockChangingHidden(TDockKit* DockingTo) {
    if (!d->destroying)
        emit dockChangingHidden(DockingTo);
}

// ---- visibility ---------------------------------------------------------------------------

bool TCustomToolWindowKit::Visible() const {
    return d->visible;
}

void TCustomToolWindowKit::setVisible(bool visible) {
    // Re-parenting hides the widget on its own; that is not the user's wish.
    if (d->applyingVisibility || d->hiddenDepth > 0) {
        QWidget::setVisible(visible);
        return;
    }
    SetVisible(visible);
}

void TCustomToolWindowKit::SetVisible(bool Value) {
    if (d->visible == Value) {
        UpdateVisibility();
        return;
    }
    d->visible = Value;
    UpdateVisibility();
    if (d->docked)
        d->dockedTo->ToolbarVisibilityChanged(this, false);
    // Shown again, a floating window opens wholly on the screen, which may have changed.
    if (Value)
        MoveOnScreen(false);
    emit visibleChanged(Value);
}

bool TCustomToolWindowKit::GetShowingState() const {
    const bool shown = d->visible && d->hiddenDepth == 0 && parentWidget() != nullptr;
    if (!shown || !d->Floating())
        return shown;
    if (d->floatingMode == tbk::fmOnTopOfParentForm) {
        const QWidget* form = d->host->ParentForm();
        if (!form || !form->isVisible() || form->isMinimized())
            return false;
    }
    if (d->hideWhenInactive && !ApplicationIsActive())
        return false;
    return true;
}

void TCustomToolWindowKit::ApplyVisibility(bool Visible) {
    if (isHidden() != Visible)
        return;
    d->applyingVisibility = true;
    QWidget::setVisible(Visible);
    d->applyingVisibility = false;
}

void TCustomToolWindowKit::UpdateVisibility() {
    const bool inactive = d->Floating() && !d->hideWhenInactive && !ApplicationIsActive();
    if (inactive != d->inactiveCaption) {
        d->inactiveCaption = inactive;
        InvalidateFrame({tbk::twrdCaption});
    }
    if (d->Floating()) {
        ApplyVisibility(d->visible && d->hiddenDepth == 0);
        d->host->SetShouldBeVisible(GetShowingState());
    } else {
        ApplyVisibility(GetShowingState());
    }
}

bool TCustomToolWindowKit::InactiveCaption() const {
    return d->inactiveCaption;
}

// ---- properties ---------------------------------------------------------------------------

bool TCustomToolWindowKit::ActivateParent() const {
    return d->activateParent;
}
void TCustomToolWindowKit::SetActivateParent(bool Value) {
    d->activateParent = Value;
}
bool TCustomToolWindowKit::HideWhenInactive() const {
    return d->hideWhenInactive;
}

void TCustomToolWindowKit::SetHideWhenInactive(bool Value) {
    if (d->hideWhenInactive == Value)
        return;
    d->hideWhenInactive = Value;
    UpdateVisibility();
}

bool TCustomToolWindowKit::CloseButton() const {
    return d->closeButton;
}

void TCustomToolWindowKit::SetCloseButton(bool Value) {
    if (d->closeButton == Value)
        return;
    d->closeButton = Value;
    CalculateNonClientSizes();
}

bool TCustomToolWindowKit::CloseButtonWhenDocked() const {
    return d->closeButtonWhenDocked;
}

void TCustomToolWindowKit::SetCloseButtonWhenDocked(bool Value) {
    if (d->closeButtonWhenDocked == Value)
        return;
    d->closeButtonWhenDocked = Value;
    CalculateNonClientSizes();
    if (d->docked)
        ArrangeControls();
}

bool TCustomToolWindowKit::FullSize() const {
    return d->fullSize;
}

void TCustomToolWindowKit::SetFullSize(bool Value) {
    if (d->fullSize == Value)
        return;
    d->fullSize = Value;
    if (d->docked) {
        ArrangeControls();
        d->dockedTo->ArrangeToolbars(false);
    }
}

bool TCustomToolWindowKit::Resizable() const {
    return d->resizable;
}

void TCustomToolWindowKit::SetResizable(bool Value) {
    if (d->resizable == Value)
        return;
    d->resizable = Value;
    CalculateNonClientSizes();
    if (d->Floating())
        ArrangeControls();
}

bool TCustomToolWindowKit::ShowCaption() const {
    return d->showCaption;
}

void TCustomToolWindowKit::SetShowCaption(bool Value) {
    if (d->showCaption == Value)
        return;
    d->showCaption = Value;
    CalculateNonClientSizes();
    if (d->Floating())
        ArrangeControls();
}

bool TCustomToolWindowKit::UseLastDock() const {
    return d->useLastDock;
}

void TCustomToolWindowKit::SetUseLastDock(bool Value) {
    if (d->useLastDock == Value)
        return;
    // Leave the dock lists of the old rule, then join those of the new one.
    if (d->useLastDock) {
        if (d->lastDock)
            d->lastDock->ChangeDockList(false, this);
    } else if (d->dockedTo) {
        d->dockedTo->ChangeDockList(false, this);
    }
    d->useLastDock = Value;
    if (Value) {
        if (d->docked)
            d->lastDock = d->dockedTo;
        if (d->lastDock)
            d->lastDock->ChangeDockList(true, this);
    } else if (d->dockedTo) {
        d->dockedTo->ChangeDockList(true, this);
    }
}

tbk::TBorderStyle TCustomToolWindowKit::BorderStyle() const {
    return d->borderStyle;
}

void TCustomToolWindowKit::SetBorderStyle(tbk::TBorderStyle Value) {
    if (d->borderStyle == Value)
        return;
    d->borderStyle = Value;
    InvalidateFrame({tbk::twrdBorder});
}

tbk::TToolWindowDockMode TCustomToolWindowKit::DockMode() const {
    return d->dockMode;
}
void TCustomToolWindowKit::SetDockMode(tbk::TToolWindowDockMode Value) {
    d->dockMode = Value;
}
tbk::TDragHandleStyle TCustomToolWindowKit::DragHandleStyle() const {
    return d->dragHandleStyle;
}

void TCustomToolWindowKit::SetDragHandleStyle(tbk::TDragHandleStyle Value) {
    if (d->dragHandleStyle == Value)
        return;
    d->dragHandleStyle = Value;
    CalculateNonClientSizes();
    if (d->docked)
        ArrangeControls();
}

tbk::TDockableTo TCustomToolWindowKit::DockableTo() const {
    return d->dockableTo;
}
void TCustomToolWindowKit::SetDockableTo(tbk::TDockableTo Value) {
    d->dockableTo = Value;
}
tbk::TToolWindowFloatingMode TCustomToolWindowKit::FloatingMode() const {
    return d->floatingMode;
}

void TCustomToolWindowKit::SetFloatingMode(tbk::TToolWindowFloatingMode Value) {
    if (d->floatingMode == Value)
        return;
    d->floatingMode = Value;
    if (d->Floating())
        d->host->SetOnTopOfAllForms(Value == tbk::fmOnTopOfAllForms && isEnabled());
    UpdateVisibility();
}

QString TCustomToolWindowKit::Caption() const {
    return windowTitle();
}

void TCustomToolWindowKit::SetCaption(const QString& Value) {
    if (windowTitle() == Value)
        return;
    setWindowTitle(Value);
    UpdateFrameGeometry();
    InvalidateFrame({tbk::twrdCaption});
}

QColor TCustomToolWindowKit::Color() const {
    return d->color ? *d->color : palette().color(QPalette::Button);
}

void TCustomToolWindowKit::SetColor(const QColor& Value) {
    d->color = Value;
    update();
}

QString TCustomToolWindowKit::Version() const {
    return QString::fromLatin1(TBKVersionText);
}

void TCustomToolWindowKit::SetOnCloseQuery(TCloseQueryEvent Handler) {
    d->onCloseQuery = std::move(Handler);
}

// ---- frame --------------------------------------------------------------------------------

QMargins TCustomToolWindowKit::NonClientSizes() const {
    return d->frame.Margins;
}

QMargins TCustomToolWindowKit::NonClientSizesFor(TDockKit* DockingTo) const {
    TFrameOptions options = d->frameOptions;
    options.DockType = GetDockTypeOf(DockingTo);
    options.AllowDrag = DockingTo ? DockingTo->AllowDrag() : true;
    return ::NonClientSizes(options);
}

QPoint TCustomToolWindowKit::ClientOrigin() const {
    return QPoint(d->frame.Margins.left(), d->frame.Margins.top());
}

void TCustomToolWindowKit::CalculateNonClientSizes() {
    UpdateFrameGeometry();
    update();
}

void TCustomToolWindowKit::UpdateFrameGeometry() {
    TFrameOptions& options = d->frameOptions;
    options.DockType = d->docked ? GetDockTypeOf(d->dockedTo) : tbk::dtNotDocked;
    options.AllowDrag = d->docked ? d->dockedTo->AllowDrag() : true;
    options.Resizable = d->resizable;
    options.ShowCaption = d->showCaption;
    options.CloseButton = d->closeButton;
    options.CloseButtonWhenDocked = d->closeButtonWhenDocked;
    options.DragHandleStyle = d->dragHandleStyle;
    d->frame = ComputeToolWindowFrame(options, size());
    QFont captionFont = font();
    captionFont.setPixelSize(kCaptionFontPixelSize);
    d->fittedCaption =
        FitCaptionText(windowTitle(), d->frame.CaptionRect.width() - 4, QFontMetrics(captionFont));
}

void TCustomToolWindowKit::InvalidateFrame(tbk::TToolWindowNCRedrawWhat What) {
    if (What.Contains(tbk::twrdBorder)) {
        update();
        return;
    }
    if (What.Contains(tbk::twrdCaption))
        update(d->frame.CaptionRect);
    if (What.Contains(tbk::twrdCloseButton)) {
        update(d->frame.CloseButtonRect);
        update(d->frame.DockedCloseRect);
    }
}

void TCustomToolWindowKit::resizeEvent(QResizeEvent* event) {
    UpdateFrameGeometry();
    QWidget::resizeEvent(event);
    emit resized();
}

void TCustomToolWindowKit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const QColor face = Color();
    const TToolWindowFrame& frame = d->frame;
    const bool dockBackground =
        d->docked && d->dockedTo->UsingBackground() && d->dockedTo->BackgroundOnToolbars();
    if (dockBackground)
        d->dockedTo->DrawBackground(painter, rect(), -pos());
    else
        painter.fillRect(rect(), face);

    if (d->Floating() || !d->docked) {
        DrawEdge(painter, rect(), tbk::EDGE_RAISED, tbk::BF_RECT, pal);
        if (!frame.CaptionRect.isNull() || !frame.CloseButtonRect.isNull()) {
            const bool active = !d->inactiveCaption;
            const QColor band = pal.color(active ? QPalette::Highlight : QPalette::Mid);
            const QColor ink = pal.color(active ? QPalette::HighlightedText : QPalette::Light);
            painter.fillRect(frame.CaptionRect, band);
            if (!frame.CloseButtonRect.isEmpty()) {
                painter.fillRect(frame.CloseButtonRect, band);
                DrawCaptionCloseButton(painter, frame.CloseButtonRect.adjusted(2, 2, -2, -2),
                                       d->closeButtonDown, pal);
            }
            QFont captionFont = font();
            captionFont.setPixelSize(kCaptionFontPixelSize);
            painter.setFont(captionFont);
            painter.setPen(ink);
            painter.drawText(frame.CaptionRect.adjusted(2, 0, 0, 0),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             d->fittedCaption);
        }
        return;
    }

    // Docked.
    if (d->borderStyle == tbk::bsSingle)
        DrawEdge(painter, rect(), tbk::BDR_RAISEDINNER, tbk::BF_RECT, pal);
    else if (!dockBackground)
        painter.fillRect(rect().adjusted(0, 0, 0, 0), face);
    for (int i = 0; i < frame.HandleBarCount; ++i)
        DrawEdge(painter, frame.HandleBars[static_cast<std::size_t>(i)], tbk::BDR_RAISEDINNER,
                 tbk::BF_RECT, pal);
    if (!frame.DockedCloseRect.isEmpty())
        DrawCaptionCloseButton(painter, frame.DockedCloseRect, d->closeButtonDown, pal);
}

void TCustomToolWindowKit::changeEvent(QEvent* event) {
    // On top of all forms only while enabled.
    if (event->type() == QEvent::EnabledChange && d->Floating())
        d->host->SetOnTopOfAllForms(d->floatingMode == tbk::fmOnTopOfAllForms && isEnabled());
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        UpdateFrameGeometry();
        update();
    }
    QWidget::changeEvent(event);
}

// ---- children -----------------------------------------------------------------------------

bool TCustomToolWindowKit::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::ChildAdded: {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow()) {
                child->installEventFilter(this);
                ControlInserted(static_cast<QWidget*>(child));
                RequestArrange();
            }
            break;
        }
        case QEvent::ChildRemoved: {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            child->removeEventFilter(this);
            ControlRemoved(child);
            RequestArrange();
            break;
        }
        case QEvent::LayoutRequest:
            if (d->arrangeRequested)
                ArrangeControls();
            return true;
        default:
            break;
    }
    return QWidget::event(event);
}

bool TCustomToolWindowKit::eventFilter(QObject* watched, QEvent* event) {
    if (watched->isWidgetType() && watched->parent() == this) {
        switch (event->type()) {
            case QEvent::ShowToParent:
            case QEvent::HideToParent:
            case QEvent::Resize:
                RequestArrange();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- mouse --------------------------------------------------------------------------------

void TCustomToolWindowKit::mousePressEvent(QMouseEvent* event) {
    if (d->loop != Private::Loop::None) {
        // A second press ends the loop where it started; other buttons are swallowed.
        if (event->button() == Qt::LeftButton)
            EndLoop(false);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // A click brings a floating window to the top without activating it.
    if (d->Floating())
        d->host->raise();
    if (d->Floating() && d->activateParent && d->floatingMode == tbk::fmOnTopOfParentForm) {
        if (QWidget* form = GetToolWindowParentForm(this))
            form->activateWindow();
    }
    const QPoint at = event->position().toPoint();
    const TFrameHit hit = HitTestToolWindowFrame(d->frame, d->frameOptions,
                                                 GetParams().ResizeEightCorner, size(), at);
    switch (hit.Kind) {
        case TFrameHitKind::CloseButton:
            d->loop = Private::Loop::CloseTracking;
            d->closeButtonDown = true;
            grabMouse();
            InvalidateFrame({tbk::twrdCloseButton});
            break;
        case TFrameHitKind::Sizing:
            if (d->Floating())
                StartSizing(hit.Handle, event->globalPosition().toPoint());
            break;
        case TFrameHitKind::Client:
            if (d->docked && !d->dockedTo->AllowDrag())
                return;
            StartMoving(at, event->globalPosition().toPoint(),
                        event->modifiers().testFlag(Qt::ControlModifier));
            break;
    }
}

void TCustomToolWindowKit::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    switch (d->loop) {
        case Private::Loop::Moving:
            TrackMoving(global, event->modifiers().testFlag(Qt::ControlModifier));
            return;
        case Private::Loop::Sizing:
            TrackSizing(global);
            return;
        case Private::Loop::CloseTracking: {
            const QRect& close = d->docked ? d->frame.DockedCloseRect : d->frame.CloseButtonRect;
            const bool over = close.contains(event->position().toPoint());
            if (over != d->closeButtonDown) {
                d->closeButtonDown = over;
                InvalidateFrame({tbk::twrdCloseButton});
            }
            return;
        }
        case Private::Loop::None:
            break;
    }
    // The sizing cursors over a floating frame's edges.
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (d->Floating()) {
        const TFrameHit hit =
            HitTestToolWindowFrame(d->frame, d->frameOptions, GetParams().ResizeEightCorner, size(),
                                   event->position().toPoint());
        if (hit.Kind == TFrameHitKind::Sizing) {
            switch (hit.Handle) {
                case tbk::twshLeft:
                case tbk::twshRight:
                    shape = Qt::SizeHorCursor;
                    break;
                case tbk::twshTop:
                case tbk::twshBottom:
                    shape = Qt::SizeVerCursor;
                    break;
                case tbk::twshTopLeft:
                case tbk::twshBottomRight:
                    shape = Qt::SizeFDiagCursor;
                    break;
                case tbk::twshTopRight:
                case tbk::twshBottomLeft:
                    shape = Qt::SizeBDiagCursor;
                    break;
            }
        }
    }
    if (cursor().shape() != shape)
        setCursor(shape);
    QWidget::mouseMoveEvent(event);
}

void TCustomToolWindowKit::mouseReleaseEvent(QMouseEvent* event) {
    if (d->loop == Private::Loop::None) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (d->loop == Private::Loop::CloseTracking) {
        const QRect& close = d->docked ? d->frame.DockedCloseRect : d->frame.CloseButtonRect;
        EndLoop(close.contains(event->position().toPoint()));
        return;
    }
    EndLoop(true);
}

void TCustomToolWindowKit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (d->loop != Private::Loop::None) {
        EndLoop(false);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (HasVisibleChildAt(this, at))
        return;
    const TFrameHit hit = HitTestToolWindowFrame(d->frame, d->frameOptions,
                                                 GetParams().ResizeEightCorner, size(), at);
    if (hit.Kind != TFrameHitKind::Client)
        return;
    if (d->Floating()) {
        if (d->lastDock) {
            SetParent(d->lastDock);
        } else if (d->defaultDock) {
            d->dockRow = 0;
            d->dockPos = -8;
            SetParent(d->defaultDock);
        }
    } else if (d->docked && d->dockedTo->AllowDrag() && d->dockMode == tbk::dmCanFloat) {
        // A bar that never floated comes up where it sat, not in the screen's corner over the
        // form's menu.
        if (!d->floatingTopLeftKnown)
            d->floatingTopLeft = mapToGlobal(QPoint(0, 0));
        SetParent(ValidToolWindowParentForm(this));
        // Floated where it sat, it opens wholly on the screen, not partly off its edge.
        MoveOnScreen(false);
    }
}

void TCustomToolWindowKit::keyPressEvent(QKeyEvent* event) {
    if (d->loop == Private::Loop::None) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        EndLoop(false);
    } else if (event->key() == Qt::Key_Control && d->loop == Private::Loop::Moving &&
               !event->isAutoRepeat()) {
        TrackMoving(d->moving.cursor, true);
    }
}

void TCustomToolWindowKit::keyReleaseEvent(QKeyEvent* event) {
    if (d->loop == Private::Loop::Moving && event->key() == Qt::Key_Control &&
        !event->isAutoRepeat()) {
        TrackMoving(d->moving.cursor, false);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TCustomToolWindowKit::hideEvent(QHideEvent* event) {
    // A loop cannot outlive the grab that a hidden widget loses.
    if (d->loop != Private::Loop::None && d->hiddenDepth == 0)
        EndLoop(false);
    QWidget::hideEvent(event);
}

quint64 TCustomToolWindowKit::CreationSequence() const {
    return d->creationSequence;
}

bool TCustomToolWindowKit::InDragOrSizeLoop() const {
    return d->loop != Private::Loop::None;
}

void TCustomToolWindowKit::EndLoop(bool Accept) {
    switch (d->loop) {
        case Private::Loop::Moving:
            EndMoving(Accept);
            break;
        case Private::Loop::Sizing:
            EndSizing(Accept);
            break;
        case Private::Loop::CloseTracking:
            EndCloseTracking(Accept);
            break;
        case Private::Loop::None:
            break;
    }
}

void TCustomToolWindowKit::EndCloseTracking(bool Accept) {
    d->loop = Private::Loop::None;
    releaseMouse();
    d->closeButtonDown = false;
    InvalidateFrame({tbk::twrdCloseButton});
    if (!Accept || d->destroying)
        return;
    bool canClose = true;
    if (d->onCloseQuery)
        d->onCloseQuery(this, canClose);
    if (!canClose)
        return;
    SetVisible(false);
    emit closed();
}

// ---- drag loop ----------------------------------------------------------------------------

namespace {

// Docks of one container in the order a drop looks for them: the container's top, bottom,
// left and right docks (each with its own children), then its other children, then the
// container itself when it is a dock that accepts the window.
void CollectDocks(QWidget* container, const TCustomToolWindowKit* window,
                  std::vector<TDockKit*>& docks) {
    if (!container->isVisible())
        return;
    const auto children = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (tbk::TDockPosition position : {tbk::dpTop, tbk::dpBottom, tbk::dpLeft, tbk::dpRight})
        for (QWidget* child : children)
            if (auto* dock = qobject_cast<TDockKit*>(child);
                dock && !child->isWindow() && dock->Position() == position)
                CollectDocks(dock, window, docks);
    for (QWidget* child : children)
        if (!qobject_cast<TDockKit*>(child) && !child->isWindow() && child != window)
            CollectDocks(child, window, docks);
    if (auto* dock = qobject_cast<TDockKit*>(container);
        dock && dock->AllowDrag() && window->DockableTo().Contains(dock->Position()))
        docks.push_back(dock);
}

}  // namespace

void TCustomToolWindowKit::BeginMoving(int InitX, int InitY) {
    const QPoint press(InitX, InitY);
    StartMoving(press, mapToGlobal(press),
                QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier));
}

void TCustomToolWindowKit::StartMoving(QPoint Press, QPoint GlobalPress, bool ControlDown) {
    if (d->loop != Private::Loop::None)
        return;
    auto& moving = d->moving;
    moving = {};
    moving.offset = Press;
    moving.startSize = QSize(width() - 1, height() - 1);
    moving.controlDown = ControlDown;
    moving.canFloat = d->dockMode == tbk::dmCanFloat;

    std::vector<TDockKit*> docks;
    if (d->dockMode == tbk::dmCannotFloatOrChangeDocks) {
        if (d->docked)
            docks.push_back(d->dockedTo);
    } else {
        std::vector<QWidget*> forms;
        if (QWidget* own = GetToolWindowParentForm(this))
            forms.push_back(own);
        for (QWidget* topLevel : QApplication::topLevelWidgets())
            for (const auto& extra : d->dockForms)
                if (extra == topLevel &&
                    std::find(forms.begin(), forms.end(), topLevel) == forms.end())
                    forms.push_back(topLevel);
        for (QWidget* form : forms)
            CollectDocks(form, this, docks);
    }
    const tbk::TDockType currentType = GetDockTypeOf(d->dockedTo);
    const QMargins floatingFrame = NonClientSizesFor(nullptr);
    const QSize floatingClient = OrderControls(false, currentType, nullptr);
    moving.floatingSize =
        QSize(floatingClient.width() + floatingFrame.left() + floatingFrame.right(),
              floatingClient.height() + floatingFrame.top() + floatingFrame.bottom());
    for (TDockKit* dock : docks) {
        QSize size;
        if (dock == d->dockedTo) {
            size = this->size();
        } else {
            const QSize client = OrderControls(false, currentType, dock);
            const QMargins frame = NonClientSizesFor(dock);
            size = QSize(client.width() + frame.left() + frame.right(),
                         client.height() + frame.top() + frame.bottom());
        }
        moving.docks.push_back({dock, size});
    }

    d->loop = Private::Loop::Moving;
    d->outline = std::make_unique<TDragOutline>();
    grabMouse();
    grabKeyboard();
    TrackMoving(GlobalPress, ControlDown);
}

void TCustomToolWindowKit::TrackMoving(QPoint Cursor, bool ControlDown) {
    auto& moving = d->moving;
    moving.cursor = Cursor;
    moving.controlDown = ControlDown;
    const TDragGrip grip{moving.offset, moving.startSize};
    TDockKit* target = nullptr;
    QRect outline;
    if (!ControlDown) {
        for (const auto& candidate : moving.docks) {
            TDockKit* dock = candidate.dock;
            if (!dock)
                continue;
            const QRect candidateOutline = DragOutline(grip, Cursor, candidate.size);
            const QRect dockRect(dock->mapToGlobal(QPoint(0, 0)), dock->size());
            if (!DockAcceptsDrag(grip, dockRect, GetDockTypeOf(dock) == tbk::dtLeftRight, Cursor,
                                 candidateOutline))
                continue;
            bool accept = true;
            if (dock->OnRequestDock())
                dock->OnRequestDock()(dock, this, accept);
            if (accept) {
                target = dock;
                outline = candidateOutline;
                break;
            }
        }
    }
    int frameWidth = 1;
    if (!target && moving.canFloat) {
        const QMargins frame = NonClientSizesFor(nullptr);
        frameWidth = frame.left();
        outline = FloatingDragOutline(grip, Cursor, moving.floatingSize, frame,
                                      GetRectOfMonitorContainingPoint(Cursor));
    }
    moving.target = target;
    moving.outline = outline;

    const bool refused = !moving.canFloat && !target;
    if (refused && !d->cursorOverridden) {
        QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor);
        d->cursorOverridden = true;
    } else if (!refused && d->cursorOverridden) {
        QGuiApplication::restoreOverrideCursor();
        d->cursorOverridden = false;
    }
    if (d->outline)
        d->outline->SetOutline(outline, frameWidth);
}

void TCustomToolWindowKit::EndMoving(bool Accept) {
    d->loop = Private::Loop::None;
    releaseKeyboard();
    releaseMouse();
    d->outline.reset();
    if (d->cursorOverridden) {
        QGuiApplication::restoreOverrideCursor();
        d->cursorOverridden = false;
    }
    if (!Accept || d->destroying || d->moving.outline.isEmpty())
        return;
    ApplyDrop();
}

void TCustomToolWindowKit::ApplyDrop() {
    const auto& moving = d->moving;
    const QRect outline = moving.outline;
    TDockKit* dock = moving.target;
    if (!dock) {
        d->floatingTopLeft = outline.topLeft();
        d->floatingTopLeftKnown = true;
        if (d->Floating())
            SetBounds(outline.x(), outline.y(), width(), height());
        else
            SetParent(ValidToolWindowParentForm(this));
    } else {
        const QRect local(dock->mapFromGlobal(outline.topLeft()) - dock->ClientOrigin(),
                          outline.size());
        const bool horizontal = GetDockTypeOf(dock) == tbk::dtTopBottom;
        const int middle =
            horizontal ? (local.y() + BottomOf(local)) / 2 : (local.x() + RightOf(local)) / 2;
        bool before = false;
        int row = dock->GetRowOf(middle, before);
        if (before) {
            dock->InsertRowBefore(row);
        } else if (d->fullSize && dock->GetNumberOfToolbarsOnRow(row, this) > 0) {
            ++row;
            dock->InsertRowBefore(row);
        }
        d->dockRow = row;
        d->dockPos = horizontal ? local.x() : local.y();
        SetParent(dock);
        dock->ArrangeToolbars(true);
    }
    MoveOnScreen(true);
}

// ---- resize loop --------------------------------------------------------------------------

void TCustomToolWindowKit::BeginSizing(tbk::TToolWindowSizeHandle SizeHandle) {
    StartSizing(SizeHandle, QCursor::pos());
}

void TCustomToolWindowKit::StartSizing(tbk::TToolWindowSizeHandle SizeHandle, QPoint GlobalPress) {
    if (!d->Floating() || d->loop != Private::Loop::None)
        return;
    auto& sizing = d->sizing;
    const QMargins frame = NonClientSizes();
    const QSize minimum = GetMinimumSize();
    sizing.minimum = QSize(minimum.width() + frame.left() + frame.right(),
                           minimum.height() + frame.top() + frame.bottom());
    sizing.handle = SizeHandle;
    sizing.startRect = BoundsRect();
    sizing.rect = sizing.startRect;
    sizing.startCursor = GlobalPress;
    sizing.clipCursor = GetParams().ResizeClipCursor && QGuiApplication::screens().size() == 1;
    ResizeBegin(SizeHandle);
    d->loop = Private::Loop::Sizing;
    d->outline = std::make_unique<TDragOutline>();
    grabMouse();
    grabKeyboard();
    d->outline->SetOutline(sizing.rect, frame.left());
}

void TCustomToolWindowKit::TrackSizing(QPoint Cursor) {
    auto& sizing = d->sizing;
    if (sizing.clipCursor) {
        const QRect area = GetRectOfPrimaryMonitor();
        Cursor = QPoint(std::clamp(Cursor.x(), area.x(), RightOf(area) - 1),
                        std::clamp(Cursor.y(), area.y(), BottomOf(area) - 1));
    }
    const QPoint delta = Cursor - sizing.startCursor;
    const tbk::TToolWindowSizeHandle h = sizing.handle;
    const bool leftEdge = h == tbk::twshLeft || h == tbk::twshTopLeft || h == tbk::twshBottomLeft;
    const bool rightEdge =
        h == tbk::twshRight || h == tbk::twshTopRight || h == tbk::twshBottomRight;
    const bool topEdge = h == tbk::twshTop || h == tbk::twshTopLeft || h == tbk::twshTopRight;
    const bool bottomEdge =
        h == tbk::twshBottom || h == tbk::twshBottomLeft || h == tbk::twshBottomRight;
    const QRect& start = sizing.startRect;
    int left = start.x(), top = start.y(), right = RightOf(start), bottom = BottomOf(start);
    if (leftEdge)
        left += delta.x();
    if (rightEdge)
        right += delta.x();
    if (topEdge)
        top += delta.y();
    if (bottomEdge)
        bottom += delta.y();
    if (right - left < sizing.minimum.width()) {
        if (leftEdge)
            left = right - sizing.minimum.width();
        else
            right = left + sizing.minimum.width();
    }
    if (bottom - top < sizing.minimum.height()) {
        if (topEdge)
            top = bottom - sizing.minimum.height();
        else
            bottom = top + sizing.minimum.height();
    }
    QRect rect(left, top, right - left, bottom - top);
    ResizeTrack(rect, start);
    sizing.rect = rect;
    if (d->outline)
        d->outline->SetOutline(rect, NonClientSizes().left());
}

void TCustomToolWindowKit::EndSizing(bool Accept) {
    d->loop = Private::Loop::None;
    releaseKeyboard();
    releaseMouse();
    d->outline.reset();
    ResizeEnd(Accept);
    if (!Accept || d->destroying)
        return;
    const QRect rect = d->sizing.rect;
    BeginUpdate();
    SetBounds(rect.x(), rect.y(), rect.width(), rect.height());
    EndUpdate();
    MoveOnScreen(true);
}

// ---- unit functions -----------------------------------------------------------------------

tbk::TDockType GetDockTypeOf(const TDockKit* Dock) {
    if (!Dock)
        return tbk::dtNotDocked;
    return Dock->Position() == tbk::dpLeft || Dock->Position() == tbk::dpRight ? tbk::dtLeftRight
                                                                               : tbk::dtTopBottom;
}

QWidget* GetToolWindowParentForm(const TCustomToolWindowKit* ToolWindow) {
    QWidget* form = ToolWindow->window();
    if (form == ToolWindow)
        return nullptr;
    if (auto* host = qobject_cast<TFloatingWindowParent*>(form))
        return host->ParentForm();
    return form;
}

QWidget* ValidToolWindowParentForm(const TCustomToolWindowKit* ToolWindow) {
    QWidget* form = GetToolWindowParentForm(ToolWindow);
    if (!form)
        throw EInvalidOperation::Formatted(SParentRequired, ToolWindow->objectName().toStdString());
    return form;
}

std::optional<tbk::TDockPosition> ToolWindowDockPositionOf(const QWidget* Control) {
    for (const QWidget* w = Control; w; w = w->parentWidget())
        if (const auto* window = qobject_cast<const TCustomToolWindowKit*>(w)) {
            if (window->Docked())
                return window->DockedTo()->Position();
            return std::nullopt;
        }
    return std::nullopt;
}
