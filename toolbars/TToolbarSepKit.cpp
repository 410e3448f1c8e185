#include "toolbars/TToolbarSepKit.h"

#include "toolbars/EInvalidOperation.h"
#include "toolbars/TCustomToolbarKit.h"
#include "toolbars/Tbkcnst.h"
#include "toolbars/Tbkvers.h"

#include <QPainter>

#include <algorithm>

namespace {

QWidget* CheckedSeparatorParent(QWidget* parent) {
    if (!qobject_cast<TCustomToolbarKit*>(parent))
        throw EInvalidOperation(STBKSepParentNotAllowed);
    return parent;
}

}  // namespace

TToolbarSepKit::TToolbarSepKit(QWidget* Parent) : QWidget(CheckedSeparatorParent(Parent)) {
    resize(sizeHorz_, sizeVert_);
}

void TToolbarSepKit::SetParent(QWidget* AParent) {
    CheckedSeparatorParent(AParent);
    const bool explicitlyHidden = isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide);
    QWidget::setParent(AParent);
    if (!explicitlyHidden)
        show();
}

void TToolbarSepKit::SetBlank(bool Value) {
    if (blank_ == Value)
        return;
    blank_ = Value;
    update();
}

void TToolbarSepKit::SetSizeHorz(int Value) {
    Value = std::max(1, Value);
    if (sizeHorz_ == Value)
        return;
    sizeHorz_ = Value;
    ArrangeParent();
}

void TToolbarSepKit::SetSizeVert(int Value) {
    Value = std::max(1, Value);
    if (sizeVert_ == Value)
        return;
    sizeVert_ = Value;
    ArrangeParent();
}

QString TToolbarSepKit::Version() const {
    return QString::fromLatin1(TBKVersionText);
}

void TToolbarSepKit::SetVertical(bool Vertical) {
    if (vertical_ == Vertical)
        return;
    vertical_ = Vertical;
    update();
}

void TToolbarSepKit::ArrangeParent() {
    if (auto* toolbar = qobject_cast<TCustomToolbarKit*>(parentWidget()))
        toolbar->ArrangeControls();
}

void TToolbarSepKit::paintEvent(QPaintEvent*) {
    if (blank_ || width() == 0 || height() == 0)
        return;
    QPainter painter(this);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Light);
    if (vertical_) {
        const int c = height() / 2;
        painter.fillRect(QRect(0, c - 1, width(), 1), shadow);
        painter.fillRect(QRect(0, c, width(), 1), highlight);
    } else {
        const int c = width() / 2;
        painter.fillRect(QRect(c - 1, 0, 1, height()), shadow);
        painter.fillRect(QRect(c, 0, 1, height()), highlight);
    }
}
