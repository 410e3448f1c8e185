#include "desktop/graphics3d/Graphics3D.h"

#include <algorithm>
#include <cmath>

#include "desktop/graphics3d/Net3D.h"
#include "desktop/graphics3d/Projection.h"

Graphics3D::Graphics3D() : view_(InitialViewMatrix()) {}

void Graphics3D::SetClientSize(int width, int height) {
    centreX_ = width / 2;
    centreY_ = height / 2;
    scale_ = kScale * std::max(1.0, std::min(width, height) / double(kDesignSide));
}

ScreenPoint Graphics3D::ToScreen(const Vector3D& point) const {
    const Vector3D seen = Project(view_, point);
    return {static_cast<int>(std::floor(scale_ * seen.x + centreX_)),
            static_cast<int>(std::floor(centreY_ - scale_ * seen.z))};
}

Vector3D Graphics3D::Unproject(int x, int y) const {
    return {(x - centreX_) / scale_, 0.0, (centreY_ - y) / scale_};
}

void Graphics3D::MoveTo3D(DrawingSurface& surface, const Vector3D& point) const {
    surface.MoveTo(ToScreen(point));
}

void Graphics3D::LineTo3D(DrawingSurface& surface, const Vector3D& point) const {
    surface.LineTo(ToScreen(point));
}

void Graphics3D::LineTo3D(DrawingSurface& surface, const Vector3D& point, RgbColor pen) const {
    surface.SetPenColor(pen);
    LineTo3D(surface, point);
}

void Graphics3D::Segment3D(DrawingSurface& surface, const Vector3D& from, const Vector3D& to,
                           RgbColor pen) const {
    MoveTo3D(surface, from);
    LineTo3D(surface, to, pen);
}

void Graphics3D::Marker(DrawingSurface& surface, const Vector3D& point, RgbColor brush) const {
    const ScreenPoint centre = ToScreen(point);
    surface.SetPenColor(kBlack);
    surface.SetBrushColor(brush);
    surface.Ellipse(centre.x - 3, centre.y - 3, centre.x + 3, centre.y + 3);
}

void Graphics3D::Quad(DrawingSurface& surface, const Vector3D& a, const Vector3D& b,
                      const Vector3D& c, const Vector3D& d) {
    quad_ = {ToScreen(a), ToScreen(b), ToScreen(c), ToScreen(d)};
    surface.Polygon(quad_);
}

void Graphics3D::DrawNet(DrawingSurface& surface, const Net3D& net) {
    surface.SetPenColor(kBlack);
    surface.SetBrushColor(kWhite);
    const int rows = net.Rows();
    const int columns = net.Columns();
    if (rows < 2 || columns < 2)
        return;

    screenPoints_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j)
            screenPoints_[static_cast<std::size_t>(i * columns + j)] = ToScreen(net.Point(i, j));
    }
    const auto at = [&](int i, int j) {
        return screenPoints_[static_cast<std::size_t>(i * columns + j)];
    };

    const Vector3D yEnd = view_.TransformPoint(kAxisEndY);
    const int di = yEnd.y > 0 ? 1 : -1;
    const int dj = yEnd.x >= 0 ? -1 : 1;
    const int firstRow = di > 0 ? 0 : rows - 1;
    const int firstColumn = dj > 0 ? 0 : columns - 1;
    for (int rowStep = 0, i = firstRow; rowStep < rows - 1; ++rowStep, i += di) {
        for (int columnStep = 0, j = firstColumn; columnStep < columns - 1; ++columnStep, j += dj) {
            quad_ = {at(i, j), at(i + di, j), at(i + di, j + dj), at(i, j + dj)};
            surface.Polygon(quad_);
        }
    }
}

void Graphics3D::DrawAxes(DrawingSurface& surface) const {
    MoveTo3D(surface, kAxisEndX);
    LineTo3D(surface, kOrigin, kBlue);
    LineTo3D(surface, kAxisEndY, kGreen);
    Segment3D(surface, kOrigin, kAxisEndZ, kRed);
    Marker(surface, kAxisEndX, kBlue);
    Marker(surface, kAxisEndY, kGreen);
    Marker(surface, kAxisEndZ, kRed);
}
