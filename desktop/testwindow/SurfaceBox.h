#pragma once

#include <QWidget>

class Graphics3D;
class Net3D;

// The paint box of the control-surface window: draws a net and the axes through a renderer,
// both borrowed, and reports the mouse.
class SurfaceBox : public QWidget {
    Q_OBJECT

  public:
    SurfaceBox(QWidget* parent, Graphics3D& renderer, const Net3D& net);

  signals:
    void mousePressed(QPoint point);
    void mouseMoved(QPoint point);
    void mouseReleased(QPoint point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Graphics3D& renderer_;
    const Net3D& net_;
};
