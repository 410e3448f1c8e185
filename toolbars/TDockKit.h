#pragma once

#include "toolbars/Tbk.h"

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QPainter;
class TCustomToolWindowKit;

// A strip along one side of a form that holds tool windows in rows. Row 0 lies at the dock's
// top (top and bottom docks) or left edge (left and right docks). The dock packs the bars of
// each row without overlap and makes itself as thick as its rows: it fixes its own height (or
// width) and leaves its length to the form's layout.
class TDockKit : public QWidget {
    Q_OBJECT

  public:
    // Parent may not be a tool window or another dock (EInvalidOperation).
    explicit TDockKit(QWidget* Parent = nullptr, tbk::TDockPosition Position = tbk::dpTop);
    ~TDockKit() override;

    void SetParent(QWidget* AParent);

    tbk::TDockPosition Position() const;
    // Throws EInvalidOperation when the dock already holds any control.
    void SetPosition(tbk::TDockPosition Value);
    bool AllowDrag() const;
    void SetAllowDrag(bool Value);
    tbk::TDockBoundLines BoundLines() const;
    void SetBoundLines(tbk::TDockBoundLines Value);
    QPixmap Background() const;
    void SetBackground(const QPixmap& Value);
    bool BackgroundTransparent() const;
    void SetBackgroundTransparent(bool Value);
    bool BackgroundOnToolbars() const;
    void SetBackgroundOnToolbars(bool Value);
    bool FixAlign() const;
    void SetFixAlign(bool Value);
    bool LimitToOneRow() const;
    void SetLimitToOneRow(bool Value);
    QColor Color() const;
    void SetColor(const QColor& Value);
    QString Version() const;
    void SetVersion(const QString&) {}

    // Asked during a drag before the dock becomes the target; Accept starts true.
    using TRequestDockEvent =
        std::function<void(TDockKit* Sender, TCustomToolWindowKit* Bar, bool& Accept)>;
    void SetOnRequestDock(TRequestDockEvent Handler);
    const TRequestDockEvent& OnRequestDock() const;

    void BeginUpdate();
    void EndUpdate();
    // Commit writes the packed positions back into the bars' DockPos.
    void ArrangeToolbars(bool Commit = false);
    void BuildRowInfo();
    // The row's thickness; for an empty row, DefaultBar's own bar size when given.
    int GetRowSize(int Row, TCustomToolWindowKit* DefaultBar) const;
    // The row under XY (client coordinates across the rows); Before asks for a new row there.
    int GetRowOf(int XY, bool& Before) const;
    // The first row whose end lies past XY, or a new last row.
    int GetDesignModeRowOf(int XY) const;
    int GetHighestRow() const;
    int GetNumberOfToolbarsOnRow(int Row, const TCustomToolWindowKit* NotIncluding) const;
    void RemoveBlankRows();
    void InsertRowBefore(int Row);
    void ChangeWidthHeight(int NewWidth, int NewHeight);
    void ChangeDockList(bool Insert, TCustomToolWindowKit* Bar);
    void ToolbarVisibilityChanged(TCustomToolWindowKit* Bar, bool ForceRemove);
    bool HasVisibleToolbars() const;
    bool ToolbarVisibleOnDock(const TCustomToolWindowKit* Bar) const;
    // Over the bars now visible on the dock, in row order after an arrange.
    int GetToolbarCount() const;
    TCustomToolWindowKit* GetToolbars(int Index) const;

    bool UsingBackground() const;
    void InvalidateBackgrounds();
    // Tiles the background over DrawRect (in the painter's coordinates), aligned so that the
    // painter's point DockOrigin is the dock's top-left.
    void DrawBackground(QPainter& Painter, const QRect& DrawRect, QPoint DockOrigin) const;

    // Top-left of the client area inside the widget (after the bound lines), and the room
    // along the rows.
    QPoint ClientOrigin() const;
    int ClientLength() const;

  signals:
    void barInsertedOrRemoved(bool Inserting, TCustomToolWindowKit* Bar);
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    friend class TCustomToolWindowKit;
    // A bar that is being destroyed leaves both lists.
    void ForgetBar(TCustomToolWindowKit* Bar);
    // The background with its bottom-left colour replaced by the dock colour.
    void UpdateTransparentCopy();

    struct Private;
    std::unique_ptr<Private> d;
};
