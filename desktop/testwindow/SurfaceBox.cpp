#include "desktop/testwindow/SurfaceBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "desktop/graphics3d/Graphics3D.h"
#include "desktop/testwindow/QPainterDrawingSurface.h"

SurfaceBox::SurfaceBox(QWidget* parent, Graphics3D& renderer, const Net3D& net)
    : QWidget(parent), renderer_(renderer), net_(net) {
    setMinimumSize(Graphics3D::kDesignSide, Graphics3D::kDesignSide);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void SurfaceBox::resizeEvent(QResizeEvent*) {
    renderer_.SetClientSize(width(), height());
}

void SurfaceBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPainterDrawingSurface surface(painter);
    renderer_.DrawNet(surface, net_);
    renderer_.DrawAxes(surface);
}

void SurfaceBox::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->position().toPoint());
}

void SurfaceBox::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

void SurfaceBox::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event->position().toPoint());
}
