#include "desktop/userterms/UserTermPaintBox.h"

#include <QMouseEvent>
#include <QPainter>

using userterm::PlotItem;

UserTermPaintBox::UserTermPaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void UserTermPaintBox::SetScene(userterm::PlotScene scene) {
    scene_ = std::move(scene);
    update();
}

void UserTermPaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const PlotItem& item : scene_.items) {
        switch (item.kind) {
            case PlotItem::Kind::Polyline:
                painter.setPen(QPen(item.color, item.width));
                painter.drawPolyline(item.points);
                break;
            case PlotItem::Kind::Marker:
                painter.setPen(QPen(item.color, 1));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(item.rect.adjusted(0, 0, -1, -1));
                break;
            case PlotItem::Kind::Text:
                painter.fillRect(item.rect, scene_.textBackground);
                painter.setPen(item.color);
                painter.drawText(item.rect, Qt::AlignCenter, item.text);
                break;
        }
    }
}

void UserTermPaintBox::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMoved(event->buttons(), event->modifiers(), at.x(), at.y());
}

void UserTermPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseReleased(event->button(), event->modifiers(), at.x(), at.y());
}

void UserTermPaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}
