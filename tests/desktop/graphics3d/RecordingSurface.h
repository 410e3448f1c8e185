#pragma once

#include <vector>

#include "desktop/graphics3d/DrawingSurface.h"

// Keeps what was drawn, for checks in numbers.
struct RecordingSurface : DrawingSurface {
    struct Line {
        ScreenPoint from, to;
        RgbColor pen;
    };
    struct Circle {
        int left, top, right, bottom;
        RgbColor brush;
    };

    void SetPenColor(RgbColor color) override { pen = color; }
    void SetBrushColor(RgbColor color) override { brush = color; }
    void MoveTo(ScreenPoint point) override { current = point; }
    void LineTo(ScreenPoint point) override {
        lines.push_back({current, point, pen});
        current = point;
    }
    void Polygon(std::span<const ScreenPoint> points) override {
        polygons.emplace_back(points.begin(), points.end());
        polygonBrushes.push_back(brush);
    }
    void Ellipse(int left, int top, int right, int bottom) override {
        circles.push_back({left, top, right, bottom, brush});
    }

    RgbColor pen, brush;
    ScreenPoint current;
    std::vector<Line> lines;
    std::vector<Circle> circles;
    std::vector<std::vector<ScreenPoint>> polygons;
    std::vector<RgbColor> polygonBrushes;
};
