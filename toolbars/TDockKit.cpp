#include "toolbars/TDockKit.h"

#include "toolbars/DockLayout.h"
#include "toolbars/EInvalidOperation.h"
#include "toolbars/TCustomToolWindowKit.h"
#include "toolbars/Tbkcmn.h"
#include "toolbars/Tbkcnst.h"
#include "toolbars/Tbkvers.h"

#include <QEvent>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

namespace {

QWidget* CheckedDockParent(QWidget* parent) {
    if (qobject_cast<TCustomToolWindowKit*>(parent) || qobject_cast<TDockKit*>(parent))
        throw EInvalidOperation(STBKDockParentNotAllowed);
    return parent;
}

// Row order, then position along the row.
int CompareDockPositions(TCustomToolWindowKit* const& a, TCustomToolWindowKit* const& b, int) {
    if (a->DockRow() != b->DockRow())
        return a->DockRow() < b->DockRow() ? -1 : 1;
    if (a->DockPos() != b->DockPos())
        return a->DockPos() < b->DockPos() ? -1 : 1;
    return 0;
}

void Remove(std::vector<TCustomToolWindowKit*>& list, TCustomToolWindowKit* bar) {
    list.erase(std::remove(list.begin(), list.end(), bar), list.end());
}

bool Contains(const std::vector<TCustomToolWindowKit*>& list, const TCustomToolWindowKit* bar) {
    return std::find(list.begin(), list.end(), bar) != list.end();
}

}  // namespace

struct TDockKit::Private {
    tbk::TDockPosition position = tbk::dpTop;
    bool allowDrag = true;
    tbk::TDockBoundLines boundLines;
    QPixmap background;
    std::optional<QPixmap> transparentCopy;
    bool backgroundTransparent = false;
    bool backgroundOnToolbars = true;
    bool fixAlign = false;
    bool limitToOneRow = false;
    std::optional<QColor> color;
    TRequestDockEvent onRequestDock;

    int arrangeDisableDepth = 0;
    bool arrangePending = false;
    bool commitPositions = false;
    bool destroying = false;
    // Every bar that belongs to the dock (docked here, or floating with this as LastDock), and
    // the bars now visible on it.
    std::vector<TCustomToolWindowKit*> dockList;
    std::vector<TCustomToolWindowKit*> visibleList;
    std::vector<int> rowSizes;

    bool Vertical() const { return position == tbk::dpLeft || position == tbk::dpRight; }
};

TDockKit::TDockKit(QWidget* Parent, tbk::TDockPosition Position)
    : QWidget(CheckedDockParent(Parent)), d(std::make_unique<Private>()) {
    d->position = Position;
    setSizePolicy(d->Vertical() ? QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred)
                                : QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed));
    ArrangeToolbars(false);
}

TDockKit::~TDockKit() {
    d->destroying = true;
    std::vector<TCustomToolWindowKit*> bars = d->dockList;
    for (TCustomToolWindowKit* bar : d->visibleList)
        if (!Contains(bars, bar))
            bars.push_back(bar);
    for (auto* bar : findChildren<TCustomToolWindowKit*>(Qt::FindDirectChildrenOnly))
        if (!Contains(bars, bar))
            bars.push_back(bar);
    for (TCustomToolWindowKit* bar : bars)
        bar->DockDestroyed(this);
}

void TDockKit::SetParent(QWidget* AParent) {
    CheckedDockParent(AParent);
    const bool explicitlyHidden = isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide);
    QWidget::setParent(AParent);
    if (!explicitlyHidden)
        show();
}

// ---- properties ---------------------------------------------------------------------------

tbk::TDockPosition TDockKit::Position() const {
    return d->position;
}

void TDockKit::SetPosition(tbk::TDockPosition Value) {
    if (d->position == Value)
        return;
    if (!findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty())
        throw EInvalidOperation(STBKDockCannotChangePosition);
    // The thickness moves to the other axis.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    d->position = Value;
    setSizePolicy(d->Vertical() ? QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred)
                                : QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed));
    ArrangeToolbars(false);
}

bool TDockKit::AllowDrag() const {
    return d->allowDrag;
}

void TDockKit::SetAllowDrag(bool Value) {
    if (d->allowDrag == Value)
        return;
    d->allowDrag = Value;
    BeginUpdate();
    for (auto* bar : findChildren<TCustomToolWindowKit*>(Qt::FindDirectChildrenOnly))
        bar->DockFrameChanged();
    ArrangeToolbars(false);
    EndUpdate();
}

tbk::TDockBoundLines TDockKit::BoundLines() const {
    return d->boundLines;
}

void TDockKit::SetBoundLines(tbk::TDockBoundLines Value) {
    if (d->boundLines == Value)
        return;
    d->boundLines = Value;
    ArrangeToolbars(false);
    update();
}

QPixmap TDockKit::Background() const {
    return d->background;
}

void TDockKit::SetBackground(const QPixmap& Value) {
    d->background = Value;
    UpdateTransparentCopy();
    InvalidateBackgrounds();
}

bool TDockKit::BackgroundTransparent() const {
    return d->backgroundTransparent;
}

void TDockKit::SetBackgroundTransparent(bool Value) {
    if (d->backgroundTransparent == Value)
        return;
    d->backgroundTransparent = Value;
    UpdateTransparentCopy();
    InvalidateBackgrounds();
}

bool TDockKit::BackgroundOnToolbars() const {
    return d->backgroundOnToolbars;
}

void TDockKit::SetBackgroundOnToolbars(bool Value) {
    if (d->backgroundOnToolbars == Value)
        return;
    d->backgroundOnToolbars = Value;
    InvalidateBackgrounds();
}

bool TDockKit::FixAlign() const {
    return d->fixAlign;
}

void TDockKit::SetFixAlign(bool Value) {
    if (d->fixAlign == Value)
        return;
    d->fixAlign = Value;
    ArrangeToolbars(false);
}

bool TDockKit::LimitToOneRow() const {
    return d->limitToOneRow;
}

void TDockKit::SetLimitToOneRow(bool Value) {
    if (d->limitToOneRow == Value)
        return;
    d->limitToOneRow = Value;
    if (Value)
        ArrangeToolbars(false);
}

QColor TDockKit::Color() const {
    return d->color ? *d->color : palette().color(QPalette::Button);
}

void TDockKit::SetColor(const QColor& Value) {
    d->color = Value;
    UpdateTransparentCopy();
    InvalidateBackgrounds();
}

QString TDockKit::Version() const {
    return QString::fromLatin1(TBKVersionText);
}

void TDockKit::SetOnRequestDock(TRequestDockEvent Handler) {
    d->onRequestDock = std::move(Handler);
}

const TDockKit::TRequestDockEvent& TDockKit::OnRequestDock() const {
    return d->onRequestDock;
}

// ---- arranging ----------------------------------------------------------------------------

void TDockKit::BeginUpdate() {
    ++d->arrangeDisableDepth;
}

void TDockKit::EndUpdate() {
    if (d->arrangeDisableDepth > 0)
        --d->arrangeDisableDepth;
    if (d->arrangeDisableDepth == 0 && d->arrangePending)
        ArrangeToolbars(d->commitPositions);
}

QPoint TDockKit::ClientOrigin() const {
    return QPoint(d->boundLines.Contains(tbk::blLeft) ? 1 : 0,
                  d->boundLines.Contains(tbk::blTop) ? 1 : 0);
}

int TDockKit::ClientLength() const {
    const tbk::TDockBoundLines lines = d->boundLines;
    if (d->Vertical())
        return std::max(0, height() - lines.Contains(tbk::blTop) - lines.Contains(tbk::blBottom));
    return std::max(0, width() - lines.Contains(tbk::blLeft) - lines.Contains(tbk::blRight));
}

void TDockKit::ArrangeToolbars(bool Commit) {
    if (Commit)
        d->commitPositions = true;
    if (d->arrangeDisableDepth > 0 || d->destroying) {
        d->arrangePending = true;
        return;
    }
    ++d->arrangeDisableDepth;
    raise();
    // Bars whose row got thicker or thinner, to centre their controls across it again.
    std::vector<TCustomToolWindowKit*> rethickened;
    const bool vertical = d->Vertical();
    const tbk::TDockBoundLines lines = d->boundLines;
    const int linesAcross = vertical ? lines.Contains(tbk::blLeft) + lines.Contains(tbk::blRight)
                                     : lines.Contains(tbk::blTop) + lines.Contains(tbk::blBottom);
    if (d->visibleList.empty()) {
        const int thickness = d->fixAlign ? 1 : 0;
        ChangeWidthHeight(vertical ? thickness : width(), vertical ? height() : thickness);
    } else {
        const int roomAlong = ClientLength();
        const int roomAcross = std::max(0, (vertical ? width() : height()) - linesAcross);
        if (d->limitToOneRow)
            for (TCustomToolWindowKit* bar : d->dockList)
                bar->SetDockRowField(0);
        RemoveBlankRows();
        ListSortEx(std::span(d->dockList), CompareDockPositions, 0);
        ListSortEx(std::span(d->visibleList), CompareDockPositions, 0);

        // A full-size bar ends alone in its row: the others move one row out.
        for (int row = 0; row <= GetHighestRow(); ++row)
            for (TCustomToolWindowKit* bar : d->visibleList) {
                if (bar->DockRow() != row || !bar->FullSize())
                    continue;
                if (GetNumberOfToolbarsOnRow(row, bar) == 0)
                    break;
                for (TCustomToolWindowKit* other : d->dockList)
                    if (other != bar && other->DockRow() >= row)
                        other->SetDockRowField(other->DockRow() + 1);
                break;
            }
        ListSortEx(std::span(d->dockList), CompareDockPositions, 0);
        ListSortEx(std::span(d->visibleList), CompareDockPositions, 0);
        BuildRowInfo();

        std::vector<TDockLayoutBar> bars;
        bars.reserve(d->visibleList.size());
        for (TCustomToolWindowKit* bar : d->visibleList)
            bars.push_back({bar->DockRow(), bar->DockPos(), vertical ? bar->height() : bar->width(),
                            bar->FullSize()});
        const TDockPacking packing = PackDockRows(bars, roomAlong);
        for (std::size_t i = 0; i < d->visibleList.size(); ++i)
            d->visibleList[i]->SetDockPosField(d->commitPositions ? packing.Placed[i]
                                                                  : packing.DockPos[i]);

        int offset = 0;
        const int highest = GetHighestRow();
        for (int row = 0; row <= highest; ++row) {
            int thickness = d->rowSizes[static_cast<std::size_t>(row)];
            if (thickness != 0)
                thickness += 4;  // the docked frame
            for (std::size_t i = 0; i < d->visibleList.size(); ++i) {
                TCustomToolWindowKit* bar = d->visibleList[i];
                if (bar->DockRow() != row)
                    continue;
                const int at = packing.Placed[i];
                const int thicknessBefore = vertical ? bar->width() : bar->height();
                bar->SetBoundsFromDock(
                    vertical
                        ? QRect(offset, at, thickness, bar->FullSize() ? roomAcross : bar->height())
                        : QRect(at, offset, bar->FullSize() ? roomAlong : bar->width(), thickness));
                if ((vertical ? bar->width() : bar->height()) != thicknessBefore)
                    rethickened.push_back(bar);
            }
            offset += thickness;
        }
        ChangeWidthHeight(vertical ? offset + linesAcross : width(),
                          vertical ? height() : offset + linesAcross);
    }
    --d->arrangeDisableDepth;
    d->arrangePending = false;
    d->commitPositions = false;
    // After the dock is done: a bar that lays itself out may ask it to arrange again.
    for (TCustomToolWindowKit* bar : rethickened)
        bar->ArrangeControls();
    update();
}

void TDockKit::BuildRowInfo() {
    d->rowSizes.clear();
    const tbk::TDockType type = GetDockTypeOf(this);
    const int highest = GetHighestRow();
    for (int row = 0; row <= highest; ++row) {
        int size = 0;
        for (TCustomToolWindowKit* bar : d->visibleList)
            if (bar->DockRow() == row)
                size = std::max(size, bar->GetBarSize(type));
        d->rowSizes.push_back(size);
    }
}

int TDockKit::GetRowSize(int Row, TCustomToolWindowKit* DefaultBar) const {
    int size = 0;
    if (Row >= 0 && Row < static_cast<int>(d->rowSizes.size()))
        size = d->rowSizes[static_cast<std::size_t>(Row)];
    if (size == 0 && DefaultBar)
        size = DefaultBar->GetBarSize(GetDockTypeOf(this));
    return size;
}

int TDockKit::GetRowOf(int XY, bool& Before) const {
    Before = false;
    const int highest = GetHighestRow();
    int start = 0;
    for (int row = 0; row <= highest + 1; ++row) {
        int end;
        if (row <= highest) {
            const int size = row < static_cast<int>(d->rowSizes.size())
                                 ? d->rowSizes[static_cast<std::size_t>(row)]
                                 : 0;
            if (size == 0)
                continue;
            end = start + size + 4;
        } else {
            end = INT_MAX;
        }
        // Within 5 pixels of a boundary a new row is asked for.
        if (XY < start + 5) {
            Before = true;
            return row;
        }
        if (XY < end - 5)
            return row;
        start = end;
    }
    return 0;
}

int TDockKit::GetDesignModeRowOf(int XY) const {
    const int highest = GetHighestRow();
    int end = 0;
    for (int row = 0; row <= highest; ++row) {
        const int size = row < static_cast<int>(d->rowSizes.size())
                             ? d->rowSizes[static_cast<std::size_t>(row)]
                             : 0;
        if (size == 0)
            continue;
        end += size + 4;
        if (end > XY)
            return row;
    }
    return highest + 1;
}

int TDockKit::GetHighestRow() const {
    int highest = -1;
    for (const TCustomToolWindowKit* bar : d->dockList)
        highest = std::max(highest, bar->DockRow());
    return highest;
}

int TDockKit::GetNumberOfToolbarsOnRow(int Row, const TCustomToolWindowKit* NotIncluding) const {
    return static_cast<int>(
        std::count_if(d->dockList.begin(), d->dockList.end(), [&](const TCustomToolWindowKit* bar) {
            return bar != NotIncluding && bar->DockRow() == Row;
        }));
}

void TDockKit::RemoveBlankRows() {
    int highest = GetHighestRow();
    int row = 0;
    while (row <= highest) {
        if (GetNumberOfToolbarsOnRow(row, nullptr) > 0) {
            ++row;
            continue;
        }
        for (TCustomToolWindowKit* bar : d->dockList)
            if (bar->DockRow() > row)
                bar->SetDockRowField(bar->DockRow() - 1);
        --highest;
    }
}

void TDockKit::InsertRowBefore(int Row) {
    for (TCustomToolWindowKit* bar : d->dockList)
        if (bar->DockRow() >= Row)
            bar->SetDockRowField(bar->DockRow() + 1);
}

void TDockKit::ChangeWidthHeight(int NewWidth, int NewHeight) {
    QRect r = geometry();
    switch (d->position) {
        case tbk::dpTop:
        case tbk::dpLeft:
            r.setSize(QSize(NewWidth, NewHeight));
            break;
        case tbk::dpBottom:
            r = QRect(r.x(), r.y() + r.height() - NewHeight, NewWidth, NewHeight);
            break;
        case tbk::dpRight:
            r = QRect(r.x() + r.width() - NewWidth, r.y(), NewWidth, NewHeight);
            break;
    }
    // The thickness is the dock's own; a layout only decides its length.
    if (d->Vertical())
        setFixedWidth(NewWidth);
    else
        setFixedHeight(NewHeight);
    if (geometry() != r)
        setGeometry(r);
}

// ---- membership ---------------------------------------------------------------------------

void TDockKit::ChangeDockList(bool Insert, TCustomToolWindowKit* Bar) {
    if (Insert) {
        if (!Contains(d->dockList, Bar))
            d->dockList.push_back(Bar);
    } else {
        Remove(d->dockList, Bar);
    }
    ToolbarVisibilityChanged(Bar, false);
}

void TDockKit::ToolbarVisibilityChanged(TCustomToolWindowKit* Bar, bool ForceRemove) {
    const bool visible = !ForceRemove && ToolbarVisibleOnDock(Bar);
    const bool listed = Contains(d->visibleList, Bar);
    if (visible == listed)
        return;
    if (visible)
        d->visibleList.push_back(Bar);
    else
        Remove(d->visibleList, Bar);
    ArrangeToolbars(false);
    emit barInsertedOrRemoved(visible, Bar);
}

void TDockKit::ForgetBar(TCustomToolWindowKit* Bar) {
    Remove(d->dockList, Bar);
    if (!Contains(d->visibleList, Bar))
        return;
    Remove(d->visibleList, Bar);
    if (!d->destroying)
        ArrangeToolbars(false);
}

bool TDockKit::HasVisibleToolbars() const {
    return !d->visibleList.empty();
}

bool TDockKit::ToolbarVisibleOnDock(const TCustomToolWindowKit* Bar) const {
    return Bar->parentWidget() == this && Bar->Visible();
}

int TDockKit::GetToolbarCount() const {
    return static_cast<int>(d->visibleList.size());
}

TCustomToolWindowKit* TDockKit::GetToolbars(int Index) const {
    return d->visibleList.at(static_cast<std::size_t>(Index));
}

// ---- painting -----------------------------------------------------------------------------

void TDockKit::UpdateTransparentCopy() {
    d->transparentCopy.reset();
    if (!d->backgroundTransparent || !UsingBackground())
        return;
    // The bottom-left pixel's colour shows the dock colour instead.
    QImage image = d->background.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    const QRgb replacement = Color().rgba();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == key)
                line[x] = replacement;
    }
    d->transparentCopy = QPixmap::fromImage(image);
}

bool TDockKit::UsingBackground() const {
    return d->background.width() != 0 && d->background.height() != 0;
}

void TDockKit::InvalidateBackgrounds() {
    update();
    for (TCustomToolWindowKit* bar : d->visibleList)
        bar->update();
}

void TDockKit::DrawBackground(QPainter& Painter, const QRect& DrawRect, QPoint DockOrigin) const {
    if (!UsingBackground())
        return;
    const QPixmap& tile =
        d->backgroundTransparent && d->transparentCopy ? *d->transparentCopy : d->background;
    Painter.drawTiledPixmap(DrawRect, tile, DrawRect.topLeft() - DockOrigin);
}

void TDockKit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (UsingBackground())
        DrawBackground(painter, rect(), QPoint(0, 0));
    else
        painter.fillRect(rect(), Color());
    if (!HasVisibleToolbars())
        return;
    const tbk::TDockBoundLines lines = d->boundLines;
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Light);
    if (lines.Contains(tbk::blTop))
        painter.fillRect(QRect(0, 0, width(), 1), shadow);
    if (lines.Contains(tbk::blLeft))
        painter.fillRect(QRect(0, 0, 1, height()), shadow);
    if (lines.Contains(tbk::blBottom))
        painter.fillRect(QRect(0, height() - 1, width(), 1), highlight);
    if (lines.Contains(tbk::blRight))
        painter.fillRect(QRect(width() - 1, 0, 1, height()), highlight);
}

void TDockKit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ArrangeToolbars(false);
    emit resized();
}

void TDockKit::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !d->color) {
        UpdateTransparentCopy();
        InvalidateBackgrounds();
    }
}

void TDockKit::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (UsingBackground())
        InvalidateBackgrounds();
}
