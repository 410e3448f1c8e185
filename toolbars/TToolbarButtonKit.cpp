#include "toolbars/TToolbarButtonKit.h"

#include "toolbars/FrameDrawing.h"
#include "toolbars/TButtonGlyph.h"
#include "toolbars/TCustomImageList.h"
#include "toolbars/TToolbarButtonKitActionLink.h"
#include "toolbars/Tbk.h"
#include "toolbars/Tbkcmn.h"
#include "toolbars/Tbkvers.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <optional>

namespace {

// How often the shared timer checks that the mouse is still over the hot button.
constexpr int kLeaveCheckInterval = 125;

// The one button under the mouse, and the timer that notices the mouse leaving it when no
// event says so (the mouse left the application's windows).
QPointer<TToolbarButtonKit> mouseInButton;
std::unique_ptr<QTimer> leaveTimer;
int buttonCount = 0;

void ButtonHookProc(tbk::THookProcCode Code, QObject* Wnd, QEvent* Event) {
    TToolbarButtonKit* button = mouseInButton;
    if (!button)
        return;
    switch (Code) {
        case tbk::hpSendActivateApp:
            if (static_cast<QApplicationStateChangeEvent*>(Event)->applicationState() !=
                    Qt::ApplicationActive &&
                !button->ShowBorderWhenInactive())
                button->MouseLeft();
            break;
        case tbk::hpPostMouseMove:
            if (Wnd != button)
                button->MouseLeft();
            break;
        default:
            break;
    }
}

constexpr tbk::THookProcCodes kButtonHookCodes =
    tbk::THookProcCodes(tbk::hpSendActivateApp) | tbk::hpPostMouseMove;

// Where glyph, caption and arrows go, before the one-pixel shift of a pushed button.
struct ButtonPaintLayout {
    QRect mainRect;        // the part that clicks (all of a plain button)
    QRect comboArrowRect;  // the arrow part of a combo
    QRect glyphRect;
    QRect textRect;
    QRect arrowRect;  // the arrow of a plain dropdown, after the caption
};

}  // namespace

void ButtonLeaveCheck() {
    TToolbarButtonKit* button = mouseInButton;
    if (!button) {
        if (leaveTimer)
            leaveTimer->stop();
        return;
    }
    if (QApplication::widgetAt(QCursor::pos()) != button)
        button->MouseLeft();
}

struct TToolbarButtonKit::Private {
    bool allowAllUp = false;
    tbk::TAlignment alignment = tbk::taCenter;
    bool cancel = false;
    bool isDefault = false;
    tbk::TButtonDisplayMode displayMode = tbk::dmBoth;
    bool down = false;
    bool dropdownAlways = false;
    bool dropdownArrow = true;
    int dropdownArrowWidth = 9;
    bool dropdownCombo = false;
    QPointer<QMenu> dropdownMenu;
    bool flat = true;
    int groupIndex = 0;
    int helpContext = 0;
    bool highlightWhenDown = true;
    tbk::TButtonLayout layout = tbk::blGlyphLeft;
    int margin = -1;
    int modalResult = 0;
    bool noBorder = false;
    bool opaque = true;
    bool repeating = false;
    int repeatDelay = 400;
    int repeatInterval = 100;
    bool showBorderWhenInactive = false;
    int spacing = 4;
    bool wordWrap = false;
    QString caption;
    std::optional<QColor> color;
    TDropdownEvent onDropdown;
    QPointer<TToolbarButtonKitActionLink> actionLink;

    TButtonGlyph glyph;
    tbk::TButtonStateKit state = tbk::bsUp;
    bool mouseIn = false;
    bool dragging = false;
    bool clickOnArrow = false;
    bool inClick = false;
    bool menuShowing = false;
    bool removeClicks = true;
    // The press that closed the menu, when it lands on this button again.
    std::optional<quint64> dropPressTimestamp;
    QPoint lastMousePos;
    std::unique_ptr<QTimer> repeatTimer;
    QShortcut* acceleratorShortcut = nullptr;
    QShortcut* defaultShortcut = nullptr;
    QShortcut* defaultShortcut2 = nullptr;
    QShortcut* cancelShortcut = nullptr;
    ButtonPaintLayout paintLayout;
    QPixmap glyphImage;
};

TToolbarButtonKit::TToolbarButtonKit(QWidget* Parent)
    : QWidget(Parent), d(std::make_unique<Private>()) {
    setMouseTracking(true);
    resize(23, 22);
    InstallHookProc(&ButtonHookProc, kButtonHookCodes, false);
    if (buttonCount++ == 0) {
        leaveTimer = std::make_unique<QTimer>();
        leaveTimer->setInterval(kLeaveCheckInterval);
        QObject::connect(leaveTimer.get(), &QTimer::timeout, &ButtonLeaveCheck);
    }
    UpdateLayout();
}

TToolbarButtonKit::~TToolbarButtonKit() {
    if (mouseInButton == this)
        mouseInButton = nullptr;
    UninstallHookProc(&ButtonHookProc);
    if (--buttonCount == 0)
        leaveTimer.reset();
}

// ---- properties ---------------------------------------------------------------------------

bool TToolbarButtonKit::AllowAllUp() const {
    return d->allowAllUp;
}

void TToolbarButtonKit::SetAllowAllUp(bool Value) {
    if (d->allowAllUp == Value)
        return;
    d->allowAllUp = Value;
    UpdateExclusive();
}

tbk::TAlignment TToolbarButtonKit::Alignment() const {
    return d->alignment;
}

void TToolbarButtonKit::SetAlignment(tbk::TAlignment Value) {
    d->alignment = Value;
    update();
}

bool TToolbarButtonKit::Cancel() const {
    return d->cancel;
}

void TToolbarButtonKit::SetCancel(bool Value) {
    d->cancel = Value;
    UpdateShortcuts();
}

bool TToolbarButtonKit::Default() const {
    return d->isDefault;
}

void TToolbarButtonKit::SetDefault(bool Value) {
    d->isDefault = Value;
    UpdateShortcuts();
}

tbk::TButtonDisplayMode TToolbarButtonKit::DisplayMode() const {
    return d->displayMode;
}

void TToolbarButtonKit::SetDisplayMode(tbk::TButtonDisplayMode Value) {
    d->displayMode = Value;
    UpdateShortcuts();
    UpdateLayout();
}

bool TToolbarButtonKit::Down() const {
    return d->down;
}

void TToolbarButtonKit::SetDown(bool Value) {
    if (d->groupIndex == 0)
        Value = false;
    if (Value == d->down)
        return;
    if (d->down && !d->allowAllUp)
        return;
    d->down = Value;
    SetState(!isEnabled() ? tbk::bsDisabled : (Value ? tbk::bsExclusive : tbk::bsUp));
    if (Value)
        UpdateExclusive();
    update();
    emit downChanged(Value);
}

bool TToolbarButtonKit::DropdownAlways() const {
    return d->dropdownAlways;
}

void TToolbarButtonKit::SetDropdownAlways(bool Value) {
    d->dropdownAlways = Value;
    UpdateLayout();
}

bool TToolbarButtonKit::DropdownArrow() const {
    return d->dropdownArrow;
}

void TToolbarButtonKit::SetDropdownArrow(bool Value) {
    d->dropdownArrow = Value;
    UpdateLayout();
}

int TToolbarButtonKit::DropdownArrowWidth() const {
    return d->dropdownArrowWidth;
}

void TToolbarButtonKit::SetDropdownArrowWidth(int Value) {
    Value = std::max(7, Value);
    if (Value == d->dropdownArrowWidth)
        return;
    const int difference = Value - d->dropdownArrowWidth;
    d->dropdownArrowWidth = Value;
    if (d->dropdownCombo)
        resize(width() + difference, height());
    UpdateLayout();
}

bool TToolbarButtonKit::DropdownCombo() const {
    return d->dropdownCombo;
}

void TToolbarButtonKit::SetDropdownCombo(bool Value) {
    if (d->dropdownCombo == Value)
        return;
    d->dropdownCombo = Value;
    const int arrowPart = d->dropdownArrowWidth + 2;
    resize(width() + (Value ? arrowPart : -arrowPart), height());
    UpdateLayout();
}

QMenu* TToolbarButtonKit::DropdownMenu() const {
    return d->dropdownMenu;
}

void TToolbarButtonKit::SetDropdownMenu(QMenu* Value) {
    if (d->dropdownMenu)
        d->dropdownMenu->removeEventFilter(this);
    d->dropdownMenu = Value;
    UpdateLayout();
}

bool TToolbarButtonKit::Flat() const {
    return d->flat;
}

void TToolbarButtonKit::SetFlat(bool Value) {
    d->flat = Value;
    UpdateLayout();
}

QPixmap TToolbarButtonKit::Glyph() const {
    return d->glyph.Glyph();
}

void TToolbarButtonKit::SetGlyph(const QPixmap& Value) {
    d->glyph.SetGlyph(Value);
    UpdateLayout();
}

QBitmap TToolbarButtonKit::GlyphMask() const {
    return d->glyph.GlyphMask();
}

void TToolbarButtonKit::SetGlyphMask(const QBitmap& Value) {
    d->glyph.SetGlyphMask(Value);
    UpdateGlyphImage();
    update();
}

int TToolbarButtonKit::GroupIndex() const {
    return d->groupIndex;
}

void TToolbarButtonKit::SetGroupIndex(int Value) {
    if (d->groupIndex == Value)
        return;
    d->groupIndex = Value;
    UpdateExclusive();
}

int TToolbarButtonKit::HelpContext() const {
    return d->helpContext;
}
void TToolbarButtonKit::SetHelpContext(int Value) {
    d->helpContext = Value;
}
bool TToolbarButtonKit::HighlightWhenDown() const {
    return d->highlightWhenDown;
}

void TToolbarButtonKit::SetHighlightWhenDown(bool Value) {
    d->highlightWhenDown = Value;
    update();
}

int TToolbarButtonKit::ImageIndex() const {
    return d->glyph.ImageIndex();
}

void TToolbarButtonKit::SetImageIndex(int Value) {
    d->glyph.SetImageList(d->glyph.Images(), Value);
    UpdateLayout();
}

TCustomImageList* TToolbarButtonKit::Images() const {
    return d->glyph.Images();
}

void TToolbarButtonKit::SetImages(TCustomImageList* Value) {
    d->glyph.SetImageList(Value, d->glyph.ImageIndex());
    if (Value)
        connect(Value, &TCustomImageList::changed, this, &TToolbarButtonKit::onImagesChanged);
    UpdateLayout();
}

tbk::TButtonLayout TToolbarButtonKit::Layout() const {
    return d->layout;
}

void TToolbarButtonKit::SetLayout(tbk::TButtonLayout Value) {
    d->layout = Value;
    UpdateLayout();
}

int TToolbarButtonKit::Margin() const {
    return d->margin;
}

void TToolbarButtonKit::SetMargin(int Value) {
    if (Value < -1)
        return;
    d->margin = Value;
    UpdateLayout();
}

int TToolbarButtonKit::ModalResult() const {
    return d->modalResult;
}
void TToolbarButtonKit::SetModalResult(int Value) {
    d->modalResult = Value;
}
bool TToolbarButtonKit::NoBorder() const {
    return d->noBorder;
}

void TToolbarButtonKit::SetNoBorder(bool Value) {
    d->noBorder = Value;
    UpdateLayout();
}

int TToolbarButtonKit::NumGlyphs() const {
    return d->glyph.NumGlyphs();
}

void TToolbarButtonKit::SetNumGlyphs(int Value) {
    d->glyph.SetNumGlyphs(Value);
    UpdateLayout();
}

bool TToolbarButtonKit::OldDisabledStyle() const {
    return d->glyph.OldDisabledStyle();
}

void TToolbarButtonKit::SetOldDisabledStyle(bool Value) {
    d->glyph.SetOldDisabledStyle(Value);
    UpdateGlyphImage();
    update();
}

bool TToolbarButtonKit::Opaque() const {
    return d->opaque;
}

void TToolbarButtonKit::SetOpaque(bool Value) {
    d->opaque = Value;
    update();
}

bool TToolbarButtonKit::Repeating() const {
    return d->repeating;
}
void TToolbarButtonKit::SetRepeating(bool Value) {
    d->repeating = Value;
}
int TToolbarButtonKit::RepeatDelay() const {
    return d->repeatDelay;
}
void TToolbarButtonKit::SetRepeatDelay(int Value) {
    d->repeatDelay = Value;
}
int TToolbarButtonKit::RepeatInterval() const {
    return d->repeatInterval;
}
void TToolbarButtonKit::SetRepeatInterval(int Value) {
    d->repeatInterval = Value;
}
bool TToolbarButtonKit::ShowBorderWhenInactive() const {
    return d->showBorderWhenInactive;
}
void TToolbarButtonKit::SetShowBorderWhenInactive(bool Value) {
    d->showBorderWhenInactive = Value;
}
int TToolbarButtonKit::Spacing() const {
    return d->spacing;
}

void TToolbarButtonKit::SetSpacing(int Value) {
    d->spacing = Value;
    UpdateLayout();
}

bool TToolbarButtonKit::WordWrap() const {
    return d->wordWrap;
}

void TToolbarButtonKit::SetWordWrap(bool Value) {
    d->wordWrap = Value;
    UpdateLayout();
}

QString TToolbarButtonKit::Caption() const {
    return d->caption;
}

void TToolbarButtonKit::SetCaption(const QString& Value) {
    if (d->caption == Value)
        return;
    d->caption = Value;
    UpdateShortcuts();
    UpdateLayout();
}

QColor TToolbarButtonKit::Color() const {
    return d->color ? *d->color : palette().color(QPalette::Button);
}

void TToolbarButtonKit::SetColor(const QColor& Value) {
    d->color = Value;
    update();
}

QAction* TToolbarButtonKit::Action() const {
    return d->actionLink ? d->actionLink->Action() : nullptr;
}

void TToolbarButtonKit::SetAction(QAction* Value) {
    delete d->actionLink;
    if (Value)
        d->actionLink = new TToolbarButtonKitActionLink(this, Value);
}

QString TToolbarButtonKit::Version() const {
    return QString::fromLatin1(TBKVersionText);
}
tbk::TButtonStateKit TToolbarButtonKit::State() const {
    return d->state;
}
bool TToolbarButtonKit::MouseInControl() const {
    return d->mouseIn;
}
bool TToolbarButtonKit::DropdownMenuShowing() const {
    return d->menuShowing;
}

void TToolbarButtonKit::SetOnDropdown(TDropdownEvent Handler) {
    d->onDropdown = std::move(Handler);
}

bool TToolbarButtonKit::UsesDropdown() const {
    return d->dropdownMenu || d->dropdownAlways;
}

void TToolbarButtonKit::SetState(tbk::TButtonStateKit State) {
    if (d->state == State)
        return;
    d->state = State;
    UpdateGlyphImage();
    update();
}

void TToolbarButtonKit::UpdateGlyphImage() {
    d->glyphImage = d->glyph.ImageFor(isEnabled() ? d->state : tbk::bsDisabled, palette());
}

tbk::TButtonStateKit TToolbarButtonKit::RestingState() const {
    if (!isEnabled())
        return tbk::bsDisabled;
    return d->down && d->groupIndex != 0 ? tbk::bsExclusive : tbk::bsUp;
}

void TToolbarButtonKit::UpdateShortcuts() {
    auto ensure = [this](QShortcut*& shortcut, bool wanted, const QKeySequence& keys) {
        if (!wanted || keys.isEmpty()) {
            delete shortcut;
            shortcut = nullptr;
            return;
        }
        if (!shortcut) {
            shortcut = new QShortcut(this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, &TToolbarButtonKit::onShortcutActivated);
        }
        shortcut->setKey(keys);
    };
    ensure(d->acceleratorShortcut, d->displayMode != tbk::dmGlyphOnly,
           QKeySequence::mnemonic(d->caption));
    ensure(d->defaultShortcut, d->isDefault, QKeySequence(Qt::Key_Return));
    ensure(d->defaultShortcut2, d->isDefault, QKeySequence(Qt::Key_Enter));
    ensure(d->cancelShortcut, d->cancel, QKeySequence(Qt::Key_Escape));
}

// ---- layout -------------------------------------------------------------------------------

void TToolbarButtonKit::UpdateLayout() {
    ButtonPaintLayout& layout = d->paintLayout;
    const QRect all = rect();
    const int arrowPart = d->dropdownArrowWidth + 2;
    if (d->dropdownCombo) {
        layout.mainRect = QRect(0, 0, std::max(0, all.width() - arrowPart), all.height());
        layout.comboArrowRect =
            QRect(layout.mainRect.width(), 0, all.width() - layout.mainRect.width(), all.height());
    } else {
        layout.mainRect = all;
        layout.comboArrowRect = QRect();
    }
    const int inset = d->noBorder ? 0 : (d->flat ? 1 : 2);
    const QRect client = layout.mainRect.adjusted(inset, inset, -inset, -inset);

    QSize glyph = d->displayMode == tbk::dmTextOnly ? QSize() : d->glyph.GlyphSize();
    if (glyph.isEmpty())
        glyph = QSize();
    const bool hasGlyph = !glyph.isEmpty();
    const QString caption = d->displayMode == tbk::dmGlyphOnly ? QString() : d->caption;
    const bool hasText = !caption.isEmpty();
    const bool sideBySide = d->layout == tbk::blGlyphLeft || d->layout == tbk::blGlyphRight;
    const int arrow =
        UsesDropdown() && !d->dropdownCombo && d->dropdownArrow ? d->dropdownArrowWidth : 0;
    const int gap = hasGlyph && hasText ? d->spacing : 0;

    QSize text;
    if (hasText) {
        const QFontMetrics metrics(font());
        if (d->wordWrap) {
            const int room =
                std::max(1, client.width() - arrow - (sideBySide ? glyph.width() + gap : 0));
            text = metrics
                       .boundingRect(QRect(0, 0, room, INT_MAX / 2),
                                     Qt::TextWordWrap | Qt::TextShowMnemonic, caption)
                       .size();
        } else {
            text = metrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, caption);
        }
    }
    auto centredIn = [](int start, int room, int length) { return start + (room - length) / 2; };
    if (sideBySide) {
        const int total = glyph.width() + gap + text.width() + arrow;
        const int margin = d->margin == -1 ? (client.width() - total) / 2 : d->margin;
        int x = d->layout == tbk::blGlyphLeft ? client.x() + margin
                                              : client.x() + client.width() - margin - total;
        if (d->layout == tbk::blGlyphLeft) {
            layout.glyphRect =
                QRect(QPoint(x, centredIn(client.y(), client.height(), glyph.height())), glyph);
            x += glyph.width() + gap;
            layout.textRect =
                QRect(QPoint(x, centredIn(client.y(), client.height(), text.height())), text);
            x += text.width();
        } else {
            layout.textRect =
                QRect(QPoint(x, centredIn(client.y(), client.height(), text.height())), text);
            x += text.width() + arrow + gap;
            layout.glyphRect =
                QRect(QPoint(x, centredIn(client.y(), client.height(), glyph.height())), glyph);
            x = layout.textRect.x() + text.width();
        }
        layout.arrowRect = QRect(x, client.y(), arrow, client.height());
    } else {
        const int total = glyph.height() + gap + text.height();
        const int margin = d->margin == -1 ? (client.height() - total) / 2 : d->margin;
        const int y = d->layout == tbk::blGlyphTop ? client.y() + margin
                                                   : client.y() + client.height() - margin - total;
        const int contentWidth = text.width() + arrow;
        const QRect glyphAt(QPoint(centredIn(client.x(), client.width(), glyph.width()),
                                   d->layout == tbk::blGlyphTop ? y : y + text.height() + gap),
                            glyph);
        const QRect textAt(QPoint(centredIn(client.x(), client.width(), contentWidth),
                                  d->layout == tbk::blGlyphTop ? y + glyph.height() + gap : y),
                           text);
        layout.glyphRect = glyphAt;
        layout.textRect = textAt;
        layout.arrowRect =
            QRect(textAt.x() + textAt.width(), textAt.y(), arrow, std::max(textAt.height(), 8));
    }
    UpdateGlyphImage();
    update();
}

void TToolbarButtonKit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateLayout();
}

// ---- painting -----------------------------------------------------------------------------

void TToolbarButtonKit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const ButtonPaintLayout& layout = d->paintLayout;
    const bool enabled = isEnabled();
    const bool pushed = d->state == tbk::bsDown || d->state == tbk::bsExclusive;
    // The main part shows pushed unless only the arrow part was pressed.
    const bool mainPushed = pushed && !(d->dropdownCombo && d->clickOnArrow && d->menuShowing);
    const bool arrowPushed = d->dropdownCombo && d->clickOnArrow && pushed;

    if (!d->flat || d->opaque)
        painter.fillRect(rect(), Color());

    const bool border = !d->noBorder && (!d->flat || pushed || (d->mouseIn && enabled));
    auto edgeOf = [this](bool down) -> unsigned {
        if (d->flat)
            return down ? tbk::BDR_SUNKENOUTER : tbk::BDR_RAISEDINNER;
        return down ? tbk::EDGE_SUNKEN : tbk::EDGE_RAISED;
    };
    const unsigned edgeFlags =
        d->flat ? tbk::BF_RECT : tbk::BF_RECT | tbk::BF_SOFT | tbk::BF_MIDDLE;

    const int inset = d->noBorder ? 0 : (d->flat ? 1 : 2);
    if (border)
        DrawEdge(painter, layout.mainRect, edgeOf(mainPushed), edgeFlags, pal);
    if (d->down && (!d->mouseIn || !d->flat) && !d->clickOnArrow && d->highlightWhenDown)
        FillDithered(painter, layout.mainRect.adjusted(inset, inset, -inset, -inset), pal);

    const QPoint shift = mainPushed ? QPoint(1, 1) : QPoint(0, 0);
    if (!d->glyphImage.isNull())
        painter.drawPixmap(layout.glyphRect.topLeft() + shift, d->glyphImage);

    if (!layout.textRect.isEmpty()) {
        int flags = Qt::TextShowMnemonic;
        flags |= d->alignment == tbk::taLeftJustify
                     ? Qt::AlignLeft
                     : (d->alignment == tbk::taRightJustify ? Qt::AlignRight : Qt::AlignHCenter);
        flags |= d->wordWrap ? Qt::TextWordWrap : (Qt::TextSingleLine | Qt::AlignVCenter);
        const QRect textAt = layout.textRect.translated(shift);
        const QString caption = d->displayMode == tbk::dmGlyphOnly ? QString() : d->caption;
        if (enabled) {
            painter.setPen(pal.color(QPalette::ButtonText));
            painter.drawText(textAt, flags, caption);
        } else {
            painter.setPen(pal.color(QPalette::Light));
            painter.drawText(textAt.translated(1, 1), flags, caption);
            painter.setPen(pal.color(QPalette::Dark));
            painter.drawText(textAt, flags, caption);
        }
    }
    if (!layout.arrowRect.isEmpty())
        DrawDropdownArrow(painter, layout.arrowRect.translated(shift), enabled,
                          pal.color(QPalette::ButtonText), pal);
    if (!layout.comboArrowRect.isEmpty()) {
        if (border)
            DrawEdge(painter, layout.comboArrowRect, edgeOf(arrowPushed), edgeFlags, pal);
        const QPoint arrowShift = arrowPushed ? QPoint(1, 1) : QPoint(0, 0);
        DrawDropdownArrow(painter, layout.comboArrowRect.translated(arrowShift), enabled,
                          pal.color(QPalette::ButtonText), pal);
    }
}

void TToolbarButtonKit::Redraw(bool Force) {
    if (Force || d->flat || d->glyph.NumGlyphs() > 4)
        update();
}

// ---- mouse --------------------------------------------------------------------------------

bool TToolbarButtonKit::PointInButton(int X, int Y) const {
    const int right = d->dropdownCombo ? width() - (d->dropdownArrowWidth + 2) : width();
    return X >= 0 && X < right && Y >= 0 && Y < height();
}

void TToolbarButtonKit::mousePressEvent(QMouseEvent* event) {
    if (!isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    const QPoint at = event->position().toPoint();
    d->lastMousePos = at;
    if (event->button() != Qt::LeftButton)
        return;
    // The press that closed this button's menu does not open it again.
    if (d->menuShowing) {
        if (d->dropdownMenu)
            d->dropdownMenu->hide();
        return;
    }
    if (d->dropPressTimestamp) {
        const bool same = *d->dropPressTimestamp == event->timestamp();
        d->dropPressTimestamp.reset();
        if (same)
            return;
    }
    MouseEntered();
    d->clickOnArrow =
        UsesDropdown() && (!d->dropdownCombo || at.x() >= width() - (d->dropdownArrowWidth + 2));
    if (!d->down)
        SetState(tbk::bsDown);
    if (!d->clickOnArrow)
        d->dragging = true;
    if (d->repeating && !d->clickOnArrow) {
        Click();
        if (!d->repeatTimer) {
            d->repeatTimer = std::make_unique<QTimer>();
            connect(d->repeatTimer.get(), &QTimer::timeout, this,
                    &TToolbarButtonKit::onRepeatTimerTimeout);
        }
        d->repeatTimer->start(d->repeatDelay);
    } else if (d->clickOnArrow) {
        Click();
    }
}

void TToolbarButtonKit::onImagesChanged() {
    UpdateLayout();
}

void TToolbarButtonKit::onShortcutActivated() {
    if (isEnabled() && isVisible())
        Click();
}

void TToolbarButtonKit::onRepeatTimerTimeout() {
    d->repeatTimer->setInterval(d->repeatInterval);
    if (d->repeating && d->dragging && PointInButton(d->lastMousePos.x(), d->lastMousePos.y()))
        Click();
    else
        d->repeatTimer->stop();
}

void TToolbarButtonKit::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint at = event->position().toPoint();
    d->lastMousePos = at;
    if (mouseInButton != this) {
        if (TToolbarButtonKit* previous = mouseInButton)
            previous->MouseLeft();
        if (d->showBorderWhenInactive || ApplicationIsActive()) {
            mouseInButton = this;
            if (leaveTimer)
                leaveTimer->start();
            MouseEntered();
        }
    }
    if (d->dragging) {
        tbk::TButtonStateKit state = tbk::bsUp;
        if (d->down)
            state = tbk::bsExclusive;
        else if (PointInButton(at.x(), at.y()))
            state = tbk::bsDown;
        SetState(state);
    }
}

void TToolbarButtonKit::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const QPoint at = event->position().toPoint();
    d->repeatTimer.reset();
    if (event->button() == Qt::RightButton && isEnabled()) {
        d->dragging = false;
        SetState(RestingState());
        MouseLeft();
        return;
    }
    if (event->button() != Qt::LeftButton || !d->dragging)
        return;
    d->dragging = false;
    if (PointInButton(at.x(), at.y()) && !d->repeating) {
        Click();
    } else {
        SetState(RestingState());
        if (!rect().contains(at))
            MouseLeft();
    }
    update();
}

void TToolbarButtonKit::mouseDoubleClickEvent(QMouseEvent* event) {
    // A down button in a group takes double-clicks; others see another press.
    if (d->down && event->button() == Qt::LeftButton) {
        event->accept();
        emit doubleClicked();
        return;
    }
    mousePressEvent(event);
}

void TToolbarButtonKit::MouseEntered() {
    if (!isEnabled() || d->mouseIn)
        return;
    d->mouseIn = true;
    if (d->state == tbk::bsUp) {
        d->state = tbk::bsMouseIn;
        UpdateGlyphImage();
    }
    Redraw(false);
    emit mouseEntered();
}

void TToolbarButtonKit::MouseLeft() {
    if (!isEnabled() || !d->mouseIn || d->dragging)
        return;
    d->mouseIn = false;
    RemoveButtonMouseTimer();
    const tbk::TButtonStateKit old = d->state;
    if (d->state == tbk::bsMouseIn || (d->state == tbk::bsDown && !d->inClick && !d->menuShowing)) {
        d->state = RestingState();
        UpdateGlyphImage();
    }
    Redraw(old != d->state);
    emit mouseExited();
}

void TToolbarButtonKit::RemoveButtonMouseTimer() {
    if (mouseInButton != this)
        return;
    mouseInButton = nullptr;
    if (leaveTimer)
        leaveTimer->stop();
}

// ---- clicks -------------------------------------------------------------------------------

void TToolbarButtonKit::PlainClick() {
    emit clicked();
    if (d->actionLink)
        d->actionLink->Execute();
}

void TToolbarButtonKit::Click() {
    if (d->repeating && !d->clickOnArrow) {
        PlainClick();
        return;
    }
    d->inClick = true;
    if (d->groupIndex != 0 && !d->clickOnArrow)
        SetDown(!d->down);
    const bool wantsDropdown = UsesDropdown() && (!d->dropdownCombo || d->clickOnArrow);
    if (!wantsDropdown) {
        if (!d->menuShowing && d->state == tbk::bsDown)
            SetState(RestingState());
        d->inClick = false;
        PlainClick();
        return;
    }
    if (d->state == tbk::bsUp || d->state == tbk::bsMouseIn)
        SetState(tbk::bsDown);
    d->mouseIn = false;
    RemoveButtonMouseTimer();
    if (!d->dropdownCombo)
        PlainClick();
    ShowDropdown();
}

void TToolbarButtonKit::ShowDropdown() {
    bool showMenu = d->dropdownMenu != nullptr;
    bool removeClicks = true;
    if (d->onDropdown)
        d->onDropdown(this, showMenu, removeClicks);
    QMenu* menu = d->dropdownMenu;
    if (!menu || !showMenu) {
        FinishDropdown();
        return;
    }
    d->removeClicks = removeClicks;
    // Beside a toolbar docked on the left or right, the menu opens toward the form.
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const auto side = ToolWindowDockPositionOf(this)) {
        if (*side == tbk::dpLeft)
            at = mapToGlobal(QPoint(width(), 0));
        if (*side == tbk::dpRight)
            at = mapToGlobal(QPoint(-menu->sizeHint().width(), 0));
    }
    d->menuShowing = true;
    menu->installEventFilter(this);
    connect(menu, &QMenu::aboutToHide, this, &TToolbarButtonKit::onDropdownMenuAboutToHide,
            Qt::SingleShotConnection);
    menu->popup(at);
    update();
}

void TToolbarButtonKit::onDropdownMenuAboutToHide() {
    FinishDropdown();
}

void TToolbarButtonKit::FinishDropdown() {
    if (d->dropdownMenu)
        d->dropdownMenu->removeEventFilter(this);
    d->menuShowing = false;
    d->inClick = false;
    d->clickOnArrow = false;
    SetState(RestingState());
    update();
}

bool TToolbarButtonKit::eventFilter(QObject* watched, QEvent* event) {
    // A press outside the open menu closes it; when it lands on this button it must not open
    // the menu again.
    if (watched == d->dropdownMenu && d->removeClicks &&
        (event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint global = mouse->globalPosition().toPoint();
        if (!d->dropdownMenu->geometry().contains(global) &&
            QRect(mapToGlobal(QPoint(0, 0)), size()).contains(global))
            d->dropPressTimestamp = mouse->timestamp();
    }
    return QWidget::eventFilter(watched, event);
}

void TToolbarButtonKit::UpdateExclusive() {
    if (d->groupIndex == 0 || !parentWidget())
        return;
    for (auto* other :
         parentWidget()->findChildren<TToolbarButtonKit*>(Qt::FindDirectChildrenOnly)) {
        if (other == this || other->d->groupIndex != d->groupIndex)
            continue;
        other->d->allowAllUp = d->allowAllUp;
        if (!d->down || !other->d->down)
            continue;
        other->d->down = false;
        other->SetState(other->RestingState());
        emit other->downChanged(false);
    }
}

void TToolbarButtonKit::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::EnabledChange:
            if (!isEnabled()) {
                d->dragging = false;
                d->mouseIn = false;
                RemoveButtonMouseTimer();
                d->repeatTimer.reset();
            }
            SetState(RestingState());
            update();
            break;
        case QEvent::PaletteChange:
            // Disabled images are made from the palette's colours.
            d->glyph.Invalidate();
            UpdateGlyphImage();
            update();
            break;
        case QEvent::FontChange:
            UpdateLayout();
            break;
        default:
            break;
    }
    QWidget::changeEvent(event);
}
