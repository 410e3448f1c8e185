#pragma once

#include "toolbars/TCustomToolWindowKit.h"
#include "toolbars/Tbktlbr.h"

#include <memory>

// The tool window that lays ordinary controls (buttons, edits, separators) out in a line, or in
// several lines when it floats with a wrap width. Controls are its child widgets, laid out in
// the order of its order list: a control added later goes to the end.
class TCustomToolbarKit : public TCustomToolWindowKit {
    Q_OBJECT

  public:
    // Parent: a dock, a form (the toolbar floats on it) or null.
    explicit TCustomToolbarKit(QWidget* Parent = nullptr);
    ~TCustomToolbarKit() override;

    // Client width at which a floating toolbar wraps its lines; 0 never wraps.
    int FloatingWidth() const;
    void SetFloatingWidth(int Value);

    // Throw EInvalidOperation for a control that is not a child of the toolbar. NewIndex is
    // clamped to the list.
    int GetOrderIndex(QWidget* Control) const;
    void SetOrderIndex(QWidget* Control, int NewIndex);
    QWidget* GetOrderedControls(int Index) const;
    int OrderedControlCount() const;

    // ATopBottom shows only on top and bottom docks and while floating, ALeftRight only on left
    // and right docks.
    void SetSlaveControl(QWidget* ATopBottom, QWidget* ALeftRight);

    virtual TToolbarParams GetToolbarParams() const;

    int GetBarSize(tbk::TDockType DockType) override;
    QSize GetMinimumSize() override;
    QSize OrderControls(bool CanMoveControls, tbk::TDockType PreviousDockType,
                        TDockKit* DockingTo) override;
    TToolWindowParams GetParams() const override;
    void ReadPositionData(const TPositionReadIntProc& ReadIntProc,
                          const TPositionReadStringProc& ReadStringProc) override;
    void WritePositionData(const TPositionWriteIntProc& WriteIntProc,
                           const TPositionWriteStringProc& WriteStringProc) override;
    bool ChildControlTransparent(QWidget* Ctl) override;

  signals:
    void floatingWidthChanged(int FloatingWidth);

  protected:
    void InitializeOrdering() override;
    void ResizeBegin(tbk::TToolWindowSizeHandle SizeHandle) override;
    void ResizeTrack(QRect& Rect, const QRect& OrigRect) override;
    void ResizeEnd(bool Accept) override;
    void ControlInserted(QWidget* Control) override;
    void ControlRemoved(QObject* Control) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Private;
    std::unique_ptr<Private> d;
};
