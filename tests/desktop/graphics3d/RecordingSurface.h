#pragma once

#include <vector>

#include "desktop/graphics3d/DrawingSurface.h"

// Keeps the polygons drawn, for checks in numbers.
struct RecordingSurface : DrawingSurface {
    void SetPenColor(RgbColor color) override { pen = color; }
    void SetBrushColor(RgbColor color) override { brush = color; }
    void MoveTo(ScreenPoint) override {}
    void LineTo(ScreenPoint) override {}
    void Polygon(std::span<const ScreenPoint> points) override {
        polygons.emplace_back(points.begin(), points.end());
    }
    void Ellipse(int, int, int, int) override {}

    RgbColor pen, brush;
    std::vector<std::vector<ScreenPoint>> polygons;
};
