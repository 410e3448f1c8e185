#include "toolbars/TCustomToolbarKit.h"

#include "toolbars/EInvalidOperation.h"
#include "toolbars/TDockKit.h"
#include "toolbars/TToolbarSepKit.h"
#include "toolbars/Tbkcnst.h"
#include "toolbars/ToolbarLayout.h"

#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace {

const QString kFloatRightX = QStringLiteral("FloatRightX");

// A child counts unless it was hidden on purpose: Qt leaves children added to a shown parent
// hidden until they are shown, which the layout does for them.
bool ControlVisible(const QWidget* control) {
    return !(control->isHidden() && control->testAttribute(Qt::WA_WState_ExplicitShowHide));
}

// A control's own size, or its size hint while nobody has sized it.
QSize ControlSize(const QWidget* control) {
    if (control->testAttribute(Qt::WA_Resized))
        return control->size();
    const QSize hint = control->sizeHint();
    return hint.isValid() ? hint.expandedTo(control->minimumSize()) : control->size();
}

}  // namespace

struct TCustomToolbarKit::Private {
    bool orderingNeeded = true;
    int floatingWidth = 0;
    std::vector<QWidget*> orderList;
    std::vector<std::pair<QPointer<QWidget>, QPointer<QWidget>>> slaves;
    std::vector<TLineSeparatorInfo> lineSeparators;
    QMargins lineSeparatorOrigin;
    // Wrap limit of a trial layout while the floating sizes are measured.
    std::optional<int> trialWrapLimit;
    bool arranging = false;

    struct Resize {
        tbk::TToolWindowSizeHandle handle = tbk::twshRight;
        std::vector<TPotentialSize> sizes;  // outer sizes
        std::optional<TSnapTracker> tracker;
        int wrapLimit = 0;
    };
    std::optional<Resize> resize;

    // Which slave of a pair shows for a dock type: std::nullopt when the control is no slave.
    std::optional<bool> SlaveShows(const QWidget* control, tbk::TDockType type) const {
        for (const auto& [topBottom, leftRight] : slaves) {
            if (control == leftRight)
                return type == tbk::dtLeftRight;
            if (control == topBottom)
                return type != tbk::dtLeftRight;
        }
        return std::nullopt;
    }

    bool Counts(const QWidget* control, tbk::TDockType type) const {
        if (const auto shows = SlaveShows(control, type))
            return *shows;
        return ControlVisible(control);
    }
};

TCustomToolbarKit::TCustomToolbarKit(QWidget* Parent) : d(std::make_unique<Private>()) {
    if (Parent)
        SetParent(Parent);
}

TCustomToolbarKit::~TCustomToolbarKit() = default;

int TCustomToolbarKit::FloatingWidth() const {
    return d->floatingWidth;
}

void TCustomToolbarKit::SetFloatingWidth(int Value) {
    if (d->floatingWidth == Value)
        return;
    d->floatingWidth = Value;
    ArrangeControls();
    emit floatingWidthChanged(Value);
}

int TCustomToolbarKit::GetOrderIndex(QWidget* Control) const {
    const auto found = std::find(d->orderList.begin(), d->orderList.end(), Control);
    if (found == d->orderList.end())
        throw EInvalidOperation::Formatted(STBKToolbarControlNotChildOfToolbar,
                                           Control ? Control->objectName().toStdString() : "");
    return static_cast<int>(found - d->orderList.begin());
}

void TCustomToolbarKit::SetOrderIndex(QWidget* Control, int NewIndex) {
    const int old = GetOrderIndex(Control);
    const int last = static_cast<int>(d->orderList.size()) - 1;
    NewIndex = std::clamp(NewIndex, 0, last);
    if (NewIndex == old)
        return;
    d->orderList.erase(d->orderList.begin() + old);
    d->orderList.insert(d->orderList.begin() + NewIndex, Control);
    ArrangeControls();
}

QWidget* TCustomToolbarKit::GetOrderedControls(int Index) const {
    return d->orderList.at(static_cast<std::size_t>(Index));
}

int TCustomToolbarKit::OrderedControlCount() const {
    return static_cast<int>(d->orderList.size());
}

void TCustomToolbarKit::SetSlaveControl(QWidget* ATopBottom, QWidget* ALeftRight) {
    d->slaves.emplace_back(ATopBottom, ALeftRight);
    ArrangeControls();
}

TToolbarParams TCustomToolbarKit::GetToolbarParams() const {
    return {};
}

void TCustomToolbarKit::ControlInserted(QWidget* Control) {
    if (std::find(d->orderList.begin(), d->orderList.end(), Control) == d->orderList.end())
        d->orderList.push_back(Control);
}

void TCustomToolbarKit::ControlRemoved(QObject* Control) {
    d->orderList.erase(std::remove(d->orderList.begin(), d->orderList.end(), Control),
                       d->orderList.end());
    d->slaves.erase(std::remove_if(d->slaves.begin(), d->slaves.end(),
                                   [Control](const auto& pair) {
                                       return pair.first == Control || pair.second == Control;
                                   }),
                    d->slaves.end());
}

void TCustomToolbarKit::InitializeOrdering() {
    if (!d->orderingNeeded)
        return;
    d->orderingNeeded = false;
    if (!GetToolbarParams().InitializeOrderByPosition)
        return;
    // Controls placed before the first layout keep the order of their places.
    const bool vertical = GetDockTypeOf(DockedTo()) == tbk::dtLeftRight;
    std::stable_sort(d->orderList.begin(), d->orderList.end(), [vertical](QWidget* a, QWidget* b) {
        return vertical ? a->y() < b->y() : a->x() < b->x();
    });
}

int TCustomToolbarKit::GetBarSize(tbk::TDockType DockType) {
    int size = kMinimumBarSize;
    for (QWidget* control : d->orderList) {
        if (qobject_cast<TToolbarSepKit*>(control) || !d->Counts(control, DockType))
            continue;
        const QSize controlSize = ControlSize(control);
        size = std::max(size,
                        DockType == tbk::dtLeftRight ? controlSize.width() : controlSize.height());
    }
    return size;
}

QSize TCustomToolbarKit::GetMinimumSize() {
    return QSize(0, 0);
}

QSize TCustomToolbarKit::OrderControls(bool CanMoveControls, tbk::TDockType, TDockKit* DockingTo) {
    const tbk::TDockType newType = GetDockTypeOf(DockingTo);
    const bool vertical = newType == tbk::dtLeftRight;
    const bool floating = DockingTo == nullptr;
    InitializeOrdering();
    const bool wasArranging = std::exchange(d->arranging, true);
    if (CanMoveControls)
        for (const auto& [topBottom, leftRight] : d->slaves) {
            if (topBottom)
                topBottom->setVisible(!vertical);
            if (leftRight)
                leftRight->setVisible(vertical);
        }

    std::vector<QWidget*> controls;
    std::vector<TToolbarLayoutItem> items;
    for (QWidget* control : d->orderList) {
        if (!d->Counts(control, newType))
            continue;
        controls.push_back(control);
        if (const auto* separator = qobject_cast<TToolbarSepKit*>(control)) {
            items.push_back({vertical ? separator->SizeVert() : separator->SizeHorz(), 0, true,
                             separator->Blank()});
        } else {
            const QSize size = ControlSize(control);
            items.push_back({vertical ? size.height() : size.width(),
                             vertical ? size.width() : size.height(), false, false});
        }
    }
    TToolbarLayoutInput input;
    input.Items = items;
    input.Floating = floating;
    input.Vertical = vertical;
    input.BarSize = ToolbarBarSize(items);
    input.LineThickness = input.BarSize;
    if (DockingTo && DockingTo == DockedTo())
        input.LineThickness = std::max(input.BarSize, DockingTo->GetRowSize(DockRow(), this));
    if (floating)
        input.WrapLimit =
            EffectiveWrapLimit(d->trialWrapLimit ? *d->trialWrapLimit : d->floatingWidth, items);
    const TToolbarLayout layout = LayoutToolbar(input);

    if (CanMoveControls) {
        const QMargins frame = NonClientSizesFor(DockingTo);
        const QPoint origin(frame.left(), frame.top());
        for (std::size_t i = 0; i < controls.size(); ++i) {
            QWidget* control = controls[i];
            const QRect rect = layout.ItemRects[i].translated(origin);
            if (auto* separator = qobject_cast<TToolbarSepKit*>(control)) {
                separator->SetVertical(vertical);
                separator->setGeometry(rect);
            } else {
                control->move(rect.topLeft());
                if (!control->testAttribute(Qt::WA_Resized)) {
                    // Sized for now, but still following its size hint.
                    control->resize(rect.size());
                    control->setAttribute(Qt::WA_Resized, false);
                }
            }
            if (control->isHidden())
                control->show();
        }
        d->lineSeparators = floating ? layout.LineSeparators : std::vector<TLineSeparatorInfo>{};
        d->lineSeparatorOrigin = frame;
        update();
    }
    d->arranging = wasArranging;
    return layout.ClientSize;
}

TToolWindowParams TCustomToolbarKit::GetParams() const {
    return {false, false, false};
}

void TCustomToolbarKit::ReadPositionData(const TPositionReadIntProc& ReadIntProc,
                                         const TPositionReadStringProc&) {
    SetFloatingWidth(ReadIntProc(objectName(), kFloatRightX, d->floatingWidth));
}

void TCustomToolbarKit::WritePositionData(const TPositionWriteIntProc& WriteIntProc,
                                          const TPositionWriteStringProc&) {
    WriteIntProc(objectName(), kFloatRightX, d->floatingWidth);
}

bool TCustomToolbarKit::ChildControlTransparent(QWidget* Ctl) {
    return qobject_cast<TToolbarSepKit*>(Ctl) != nullptr;
}

// ---- floating resize ----------------------------------------------------------------------

void TCustomToolbarKit::ResizeBegin(tbk::TToolWindowSizeHandle SizeHandle) {
    Private::Resize resize;
    resize.handle = SizeHandle;
    resize.wrapLimit = d->floatingWidth;
    resize.sizes = BuildPotentialSizes([this](int limit) {
        d->trialWrapLimit = limit;
        const QSize size = OrderControls(false, tbk::dtNotDocked, nullptr);
        d->trialWrapLimit.reset();
        return size;
    });
    const QMargins frame = NonClientSizesFor(nullptr);
    for (TPotentialSize& entry : resize.sizes)
        entry.ClientSize += QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const bool alongWidth = SizeHandle == tbk::twshLeft || SizeHandle == tbk::twshRight;
    auto lengthOf = [alongWidth](const TPotentialSize& entry) {
        return alongWidth ? entry.ClientSize.width() : entry.ClientSize.height();
    };
    std::stable_sort(resize.sizes.begin(), resize.sizes.end(),
                     [&](const TPotentialSize& a, const TPotentialSize& b) {
                         return lengthOf(a) > lengthOf(b);
                     });
    std::vector<int> lengths;
    for (const TPotentialSize& entry : resize.sizes)
        lengths.push_back(lengthOf(entry));
    // The entry of the present size, else the one nearest to it.
    const int currentLength = alongWidth ? width() : height();
    int current = 0;
    for (std::size_t i = 0; i < resize.sizes.size(); ++i) {
        if (resize.sizes[i].ClientSize == size()) {
            current = static_cast<int>(i);
            break;
        }
        if (std::abs(lengths[i] - currentLength) <
            std::abs(lengths[static_cast<std::size_t>(current)] - currentLength))
            current = static_cast<int>(i);
    }
    resize.tracker.emplace(std::move(lengths), current);
    d->resize = std::move(resize);
}

void TCustomToolbarKit::ResizeTrack(QRect& Rect, const QRect& OrigRect) {
    if (!d->resize || d->resize->sizes.empty())
        return;
    auto& resize = *d->resize;
    const bool alongWidth = resize.handle == tbk::twshLeft || resize.handle == tbk::twshRight;
    const int chosen = resize.tracker->Track(alongWidth ? Rect.width() : Rect.height());
    const TPotentialSize& entry = resize.sizes[static_cast<std::size_t>(chosen)];
    const QSize size = entry.ClientSize;
    const int origRight = OrigRect.x() + OrigRect.width();
    const int origBottom = OrigRect.y() + OrigRect.height();
    switch (resize.handle) {
        case tbk::twshLeft:
            Rect = QRect(origRight - size.width(), OrigRect.y(), size.width(), size.height());
            break;
        case tbk::twshTop:
            Rect = QRect(OrigRect.x(), origBottom - size.height(), size.width(), size.height());
            break;
        default:
            Rect = QRect(OrigRect.topLeft(), size);
            break;
    }
    resize.wrapLimit = entry.WrapLimit;
}

void TCustomToolbarKit::ResizeEnd(bool Accept) {
    if (!d->resize)
        return;
    const int limit = d->resize->wrapLimit;
    d->resize.reset();
    if (Accept)
        SetFloatingWidth(limit);
}

// ---- painting -----------------------------------------------------------------------------

void TCustomToolbarKit::paintEvent(QPaintEvent* event) {
    TCustomToolWindowKit::paintEvent(event);
    if (d->lineSeparators.empty() || Docked())
        return;
    QPainter painter(this);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Light);
    const QMargins frame = d->lineSeparatorOrigin;
    const int clientWidth = width() - frame.left() - frame.right();
    for (const TLineSeparatorInfo& line : d->lineSeparators) {
        if (line.Blank)
            continue;
        const int y = frame.top() + line.Y;
        painter.fillRect(QRect(frame.left() + 1, y - 4, clientWidth - 2, 1), shadow);
        painter.fillRect(QRect(frame.left() + 1, y - 3, clientWidth - 2, 1), highlight);
    }
}
