#include "desktop/testwindow/ProjectionBox.h"

#include <QMouseEvent>
#include <QPainter>

ProjectionBox::ProjectionBox(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 160);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void ProjectionBox::SetScene(ProjectionScene scene) {
    scene_ = std::move(scene);
    update();
}

void ProjectionBox::resizeEvent(QResizeEvent*) {
    emit resized();
}

void ProjectionBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::gray);
    painter.drawRect(scene_.plot);
    if (scene_.hasZeroLine) {
        painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        painter.drawLine(scene_.zeroLine);
    }
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    for (std::size_t k = 0; k < 3; ++k) {
        const QString& text = scene_.inputTexts[k];
        const int width = metrics.horizontalAdvance(text);
        const QPoint& anchor = scene_.inputAnchors[k];
        painter.drawText(QPoint(std::min(anchor.x() - width / 2, this->width() - width),
                                anchor.y() + metrics.ascent()),
                         text);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        const QString& text = scene_.outputTexts[k];
        const QPoint& anchor = scene_.outputAnchors[k];
        painter.drawText(QPoint(std::max(0, anchor.x() - metrics.horizontalAdvance(text)),
                                anchor.y() + (metrics.ascent() - metrics.descent()) / 2),
                         text);
    }
    painter.setPen(QPen(QColor(0, 0, 160), 1));
    painter.drawPolyline(scene_.line);
    painter.setBrush(Qt::white);
    for (const QRect& mark : scene_.marks)
        painter.drawRect(mark.adjusted(0, 0, -1, -1));
    if (scene_.hasHighlight) {
        painter.setBrush(QColor(200, 0, 0));
        painter.drawEllipse(scene_.highlight);
    }
}

void ProjectionBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit leftButtonPressed(event->position().toPoint().x());
}

void ProjectionBox::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        emit leftButtonDragged(event->position().toPoint().x());
}
