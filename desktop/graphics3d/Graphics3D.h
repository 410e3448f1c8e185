#pragma once

#include <array>
#include <vector>

#include "desktop/graphics3d/DrawingSurface.h"
#include "desktop/graphics3d/Transform3D.h"
#include "desktop/graphics3d/Vector3D.h"

class Net3D;

// Draws nets and axes of the model space, seen through a view matrix, on a drawing surface of
// a given client size: the origin at the centre, 50 pixels per model unit up to a square of
// kDesignSide, more as the surface grows beyond it.
class Graphics3D {
  public:
    static constexpr double kScale = 50.0;
    // The axes' ends lie at most 4 view units from the origin, however the view turns: at 50
    // pixels per unit they stay whole on a square of this side.
    static constexpr int kDesignSide = 420;

    Graphics3D();

    // Centres the origin and sets the scale, kScale for a square of kDesignSide and smaller, in
    // proportion to the shorter side for a larger one.
    void SetClientSize(int width, int height);
    int CentreX() const { return centreX_; }
    int CentreY() const { return centreY_; }
    // Pixels per model unit.
    double Scale() const { return scale_; }

    const Transform3D& ViewMatrix() const { return view_; }
    void SetViewMatrix(const Transform3D& view) { view_ = view; }

    // The pixel of a model point seen through the view.
    ScreenPoint ToScreen(const Vector3D& point) const;
    // The point of the screen plane (depth 0) under a pixel, in view coordinates.
    Vector3D Unproject(int x, int y) const;

    void MoveTo3D(DrawingSurface& surface, const Vector3D& point) const;
    void LineTo3D(DrawingSurface& surface, const Vector3D& point) const;
    void LineTo3D(DrawingSurface& surface, const Vector3D& point, RgbColor pen) const;
    void Segment3D(DrawingSurface& surface, const Vector3D& from, const Vector3D& to,
                   RgbColor pen) const;
    // A circle of radius 3 pixels in the brush colour, outlined in black.
    void Marker(DrawingSurface& surface, const Vector3D& point, RgbColor brush) const;
    void Quad(DrawingSurface& surface, const Vector3D& a, const Vector3D& b, const Vector3D& c,
              const Vector3D& d);

    // Every cell of the net as a white quad outlined in black, the cells far from the viewer
    // first so that nearer ones cover them. The viewer looks from positive view y.
    void DrawNet(DrawingSurface& surface, const Net3D& net);
    // x in blue, y in green, z in red, from the origin to the axis ends, with a marker at
    // each end.
    void DrawAxes(DrawingSurface& surface) const;

  private:
    int centreX_ = 0;
    int centreY_ = 0;
    double scale_ = kScale;
    Transform3D view_;
    std::array<ScreenPoint, 4> quad_{};
    // The net's points on the screen, projected once per drawing.
    std::vector<ScreenPoint> screenPoints_;
};
