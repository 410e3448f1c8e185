#include "toolbars/DockingFrame.h"

#include "toolbars/TDockKit.h"

#include <QGridLayout>
#include <QPointer>

namespace {

TDockKit* MakeDock(QWidget* parent, tbk::TDockPosition position, const char* name) {
    auto* dock = new TDockKit(parent, position);
    dock->setObjectName(QString::fromLatin1(name));
    return dock;
}

constexpr int kMiddle = 1;

}  // namespace

struct DockingFrame::Private {
    QGridLayout* grid = nullptr;
    QPointer<QWidget> central;
};

DockingFrame::DockingFrame(QWidget* Parent)
    : QWidget(Parent),
      DockTop(MakeDock(this, tbk::dpTop, "DockTop")),
      DockBottom(MakeDock(this, tbk::dpBottom, "DockBottom")),
      DockLeft(MakeDock(this, tbk::dpLeft, "DockLeft")),
      DockRight(MakeDock(this, tbk::dpRight, "DockRight")),
      d(std::make_unique<Private>()) {
    d->grid = new QGridLayout(this);
    d->grid->setContentsMargins(0, 0, 0, 0);
    d->grid->setSpacing(0);
    d->grid->addWidget(DockTop, 0, 0, 1, 3);
    d->grid->addWidget(DockLeft, kMiddle, 0);
    d->grid->addWidget(DockRight, kMiddle, 2);
    d->grid->addWidget(DockBottom, 2, 0, 1, 3);
    // The docks fix their own thickness; the middle cell takes the rest, even while empty.
    d->grid->setRowStretch(kMiddle, 1);
    d->grid->setColumnStretch(kMiddle, 1);
}

DockingFrame::~DockingFrame() = default;

void DockingFrame::setCentralWidget(QWidget* Widget) {
    if (Widget == d->central)
        return;
    if (d->central) {
        d->grid->removeWidget(d->central);
        d->central->hide();
        d->central->deleteLater();
    }
    d->central = Widget;
    if (Widget)
        d->grid->addWidget(Widget, kMiddle, kMiddle);
}

QWidget* DockingFrame::centralWidget() const {
    return d->central;
}
