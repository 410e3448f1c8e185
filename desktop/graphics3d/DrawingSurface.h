#pragma once

#include <cstdint>
#include <span>

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct RgbColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

inline constexpr RgbColor kBlack{0, 0, 0};
inline constexpr RgbColor kWhite{255, 255, 255};
inline constexpr RgbColor kBlue{0, 0, 255};
inline constexpr RgbColor kGreen{0, 128, 0};
inline constexpr RgbColor kRed{255, 0, 0};

// What the renderer draws on, in pixels with y downwards: a pen for lines and outlines, a
// brush for fills and a current point. The desktop implements it over a QPainter; tests
// record the calls.
class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    virtual void SetPenColor(RgbColor color) = 0;
    virtual void SetBrushColor(RgbColor color) = 0;
    virtual void MoveTo(ScreenPoint point) = 0;
    // A line in the pen colour from the current point, which then moves to point.
    virtual void LineTo(ScreenPoint point) = 0;
    // Filled with the brush and outlined with the pen.
    virtual void Polygon(std::span<const ScreenPoint> points) = 0;
    // The ellipse inside the box from (left, top) to (right, bottom), filled and outlined.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
};
