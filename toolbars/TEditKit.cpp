#include "toolbars/TEditKit.h"

#include "toolbars/FrameDrawing.h"
#include "toolbars/Tbkctls.h"
#include "toolbars/Tbkvers.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace {

constexpr int kFrameSize = 3;

}  // namespace

TEditKit::TEditKit(QWidget* Parent) : QLineEdit(Parent) {
    static const bool registered = [] {
        RegisterKitControlClass(&TEditKit::staticMetaObject);
        return true;
    }();
    (void)registered;
    setFrame(false);
    setTextMargins(kFrameSize, 0, kFrameSize, 0);
    setAttribute(Qt::WA_Hover);
    resize(width(), 19);
    UpdateColors();
    AdjustHeight();
}

QString TEditKit::Version() const {
    return QString::fromLatin1(TBKVersionText);
}

void TEditKit::AdjustHeight() {
    setFixedHeight(fontMetrics().height() + 2 * kFrameSize);
}

void TEditKit::UpdateColors() {
    // Window colour while enabled, face colour while disabled; both from the palette the edit
    // would have by itself.
    const QPalette standard = QApplication::palette(this);
    QPalette pal = palette();
    pal.setColor(QPalette::Base,
                 standard.color(QPalette::Active, isEnabled() ? QPalette::Base : QPalette::Button));
    setPalette(pal);
}

void TEditKit::UpdateHot() {
    const bool hot = isEnabled() && (underMouse() || hasFocus());
    if (hot == hot_)
        return;
    hot_ = hot;
    update();
}

void TEditKit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button);
    const QColor window = pal.color(QPalette::Base);
    const QRect outer = rect();
    const QRect middle = outer.adjusted(1, 1, -1, -1);
    const QRect inner = outer.adjusted(2, 2, -2, -2);
    auto ring = [&painter](const QRect& r, const QColor& color) {
        painter.fillRect(QRect(r.x(), r.y(), r.width(), 1), color);
        painter.fillRect(QRect(r.x(), r.y() + r.height() - 1, r.width(), 1), color);
        painter.fillRect(QRect(r.x(), r.y(), 1, r.height()), color);
        painter.fillRect(QRect(r.x() + r.width() - 1, r.y(), 1, r.height()), color);
    };
    if (hot_) {
        DrawEdge(painter, outer, tbk::BDR_SUNKENOUTER, tbk::BF_RECT, pal);
        ring(middle, face);
        DrawEdge(painter, middle, tbk::BDR_SUNKENINNER, tbk::BF_TOP | tbk::BF_LEFT, pal);
    } else {
        ring(outer, face);
        ring(middle, face);
    }
    ring(inner, window);
}

void TEditKit::enterEvent(QEnterEvent* event) {
    QLineEdit::enterEvent(event);
    UpdateHot();
}

void TEditKit::leaveEvent(QEvent* event) {
    QLineEdit::leaveEvent(event);
    UpdateHot();
}

void TEditKit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    UpdateHot();
}

void TEditKit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    UpdateHot();
}

void TEditKit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AdjustHeight();
    if (event->type() == QEvent::EnabledChange) {
        UpdateColors();
        UpdateHot();
    }
}
