#pragma once

#include <QPoint>

#include "desktop/graphics3d/DrawingSurface.h"

class QPainter;

// The 3-D renderer's drawing surface over a painter that is active for the adapter's lifetime.
class QPainterDrawingSurface : public DrawingSurface {
  public:
    explicit QPainterDrawingSurface(QPainter& painter) : painter_(painter) {}

    void SetPenColor(RgbColor color) override;
    void SetBrushColor(RgbColor color) override;
    void MoveTo(ScreenPoint point) override;
    void LineTo(ScreenPoint point) override;
    void Polygon(std::span<const ScreenPoint> points) override;
    void Ellipse(int left, int top, int right, int bottom) override;

  private:
    QPainter& painter_;
    QPoint current_;
};
