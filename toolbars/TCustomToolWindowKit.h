#pragma once

#include "toolbars/Tbk.h"

#include <QColor>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class TDockKit;
class TFloatingWindowParent;

// The base of every window that sits in a dock or floats above its form: the docked and floating
// states and the move between them, the drag and resize loops, the frame (drag handle, caption,
// close button) painted inside the widget, and the rules that keep a floating window visible.
//
// Docked, the parent is a TDockKit and the bounds are in the dock's client coordinates. Floating,
// the parent is a TFloatingWindowParent of the same size, and the bounds are screen coordinates.
// Children are laid out by subclasses in client coordinates, which start inside the frame.
class TCustomToolWindowKit : public QWidget {
    Q_OBJECT

  public:
    ~TCustomToolWindowKit() override;

    // The one way to dock, float or change docks: a TDockKit docks, a top-level widget (the form)
    // floats, null detaches. Anything else throws EInvalidOperation.
    virtual void SetParent(QWidget* AParent);

    bool Docked() const;
    TDockKit* DockedTo() const;
    // Null floats the window on its form.
    void SetDockedTo(TDockKit* Value);
    int DockPos() const;
    void SetDockPos(int Value);
    int DockRow() const;
    void SetDockRow(int Value);
    TDockKit* DefaultDock() const;
    void SetDefaultDock(TDockKit* Value);
    TDockKit* LastDock() const;
    void SetLastDock(TDockKit* Value);
    // Screen position of the floating frame; kept while docked.
    QPoint FloatingTopLeft() const;
    void SetFloatingTopLeft(QPoint Value);
    TFloatingWindowParent* FloatingParent() const;

    // Bounds in the parent's client coordinates (the screen while floating).
    QRect BoundsRect() const;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    // Visible is the window's own wish; whether it shows also depends on its form, the
    // application's activation and re-parenting. show() and hide() set it too.
    bool Visible() const;
    void SetVisible(bool Value);
    void setVisible(bool visible) override;

    bool ActivateParent() const;
    void SetActivateParent(bool Value);
    bool HideWhenInactive() const;
    void SetHideWhenInactive(bool Value);
    bool CloseButton() const;
    void SetCloseButton(bool Value);
    bool CloseButtonWhenDocked() const;
    void SetCloseButtonWhenDocked(bool Value);
    bool FullSize() const;
    void SetFullSize(bool Value);
    bool Resizable() const;
    void SetResizable(bool Value);
    bool ShowCaption() const;
    void SetShowCaption(bool Value);
    bool UseLastDock() const;
    void SetUseLastDock(bool Value);
    tbk::TBorderStyle BorderStyle() const;
    void SetBorderStyle(tbk::TBorderStyle Value);
    tbk::TToolWindowDockMode DockMode() const;
    void SetDockMode(tbk::TToolWindowDockMode Value);
    tbk::TDragHandleStyle DragHandleStyle() const;
    void SetDragHandleStyle(tbk::TDragHandleStyle Value);
    tbk::TDockableTo DockableTo() const;
    void SetDockableTo(tbk::TDockableTo Value);
    tbk::TToolWindowFloatingMode FloatingMode() const;
    void SetFloatingMode(tbk::TToolWindowFloatingMode Value);
    QString Caption() const;
    void SetCaption(const QString& Value);
    QColor Color() const;
    void SetColor(const QColor& Value);
    QString Version() const;
    void SetVersion(const QString&) {}
    bool InactiveCaption() const;

    // Asked before the close button hides the window; CanClose starts true.
    using TCloseQueryEvent = std::function<void(TCustomToolWindowKit* Sender, bool& CanClose)>;
    void SetOnCloseQuery(TCloseQueryEvent Handler);

    // Start the drag loop as if the left button went down at (InitX, InitY) in the window, or
    // the resize loop of a floating window. The loops run while the mouse is grabbed.
    void BeginMoving(int InitX, int InitY);
    void BeginSizing(tbk::TToolWindowSizeHandle SizeHandle);
    bool InDragOrSizeLoop() const;
    // Shifts a floating window onto the work area of its screen.
    void MoveOnScreen(bool OnlyIfFullyOffscreen);
    void ArrangeControls();
    void CustomArrangeControls(tbk::TDockType PreviousDockType, TDockKit* DockingTo, bool Resize);
    void BeginUpdate();
    void EndUpdate();
    // Docks of other forms that the window may be dragged into.
    void AddDockForm(QWidget* Form);
    void RemoveDockForm(QWidget* Form);
    // The thickness of the window's row when docked, else its own bar size.
    int GetDockRowSize();

    // Tool windows are saved in the order they were made, as components of their form.
    quint64 CreationSequence() const;

    bool GetShowingState() const;
    void UpdateVisibility();

    // The frame's thickness on each side for the current state, and for a given target (null:
    // floating).
    QMargins NonClientSizes() const;
    QMargins NonClientSizesFor(TDockKit* DockingTo) const;

    // Supplied by subclasses: the thickness across a dock of the given type, the least client
    // size, and the client size after laying out the children for a target dock (null:
    // floating); CanMoveControls false only measures.
    virtual int GetBarSize(tbk::TDockType DockType) = 0;
    virtual QSize GetMinimumSize() = 0;
    virtual QSize OrderControls(bool CanMoveControls, tbk::TDockType PreviousDockType,
                                TDockKit* DockingTo) = 0;
    virtual void SizeChanging(int AWidth, int AHeight);
    virtual TToolWindowParams GetParams() const;
    virtual void ReadPositionData(const TPositionReadIntProc& ReadIntProc,
                                  const TPositionReadStringProc& ReadStringProc);
    virtual void DoneReadingPositionData(const TPositionReadIntProc& ReadIntProc,
                                         const TPositionReadStringProc& ReadStringProc);
    virtual void WritePositionData(const TPositionWriteIntProc& WriteIntProc,
                                   const TPositionWriteStringProc& WriteStringProc);
    virtual bool ChildControlTransparent(QWidget* Ctl);

  signals:
    void closed();
    void dockChanged();
    void dockChanging();
    void dockChangingEx(TDockKit* DockingTo);
    void dockChangingHidden(TDockKit* DockingTo);
    void moved();
    void recreated();
    void recreating();
    void resized();
    void visibleChanged(bool Visible);

  protected:
    TCustomToolWindowKit();

    virtual void ResizeBegin(tbk::TToolWindowSizeHandle SizeHandle);
    virtual void ResizeTrack(QRect& Rect, const QRect& OrigRect);
    virtual void ResizeEnd(bool Accept);
    virtual void InitializeOrdering();
    // Children come and go; subclasses keep their own lists.
    virtual void ControlInserted(QWidget* Control);
    // Control may be half destroyed: compare it, do not use it.
    virtual void ControlRemoved(QObject* Control);

    void DoDockChangingHidden(TDockKit* DockingTo);
    // Recomputes the frame after a change of state or of a frame property.
    void CalculateNonClientSizes();
    void InvalidateFrame(tbk::TToolWindowNCRedrawWhat What);
    // Top-left of the client area inside the widget.
    QPoint ClientOrigin() const;
    // Lays the children out again once control returns to the event loop.
    void RequestArrange();

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    friend class TDockKit;
    friend class TFloatingWindowParent;

    // Used by the dock: fields written without arranging, bounds set by the arrangement, and
    // the notice that the dock is going away.
    void SetDockRowField(int Value);
    void SetDockPosField(int Value);
    void SetBoundsFromDock(const QRect& ClientBounds);
    void DockDestroyed(TDockKit* Dock);
    void DockFrameChanged();
    void HostDestroyed(TFloatingWindowParent* Host);

    struct Private;
    std::unique_ptr<Private> d;

    void Moved();
    void ApplyVisibility(bool Visible);
    void StartMoving(QPoint Press, QPoint GlobalPress, bool ControlDown);
    void TrackMoving(QPoint Cursor, bool ControlDown);
    void EndMoving(bool Accept);
    void StartSizing(tbk::TToolWindowSizeHandle SizeHandle, QPoint GlobalPress);
    void TrackSizing(QPoint Cursor);
    void EndSizing(bool Accept);
    void EndCloseTracking(bool Accept);
    void EndLoop(bool Accept);
    void ApplyDrop();
    void UpdateFrameGeometry();
};
