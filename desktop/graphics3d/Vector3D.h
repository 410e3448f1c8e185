#pragma once

// A point or a direction of the model space of the control surface.
struct Vector3D {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr Vector3D() = default;
    constexpr Vector3D(double x, double y, double z) : x(x), y(y), z(z) {}

    constexpr Vector3D Plus(double dx, double dy, double dz) const {
        return {x + dx, y + dy, z + dz};
    }
    constexpr Vector3D Minus(double dx, double dy, double dz) const {
        return {x - dx, y - dy, z - dz};
    }
    constexpr double Dot(const Vector3D& other) const {
        return x * other.x + y * other.y + z * other.z;
    }
    constexpr Vector3D Scaled(double factor) const { return {x * factor, y * factor, z * factor}; }
    double Length() const;
};

constexpr Vector3D operator+(const Vector3D& a, const Vector3D& b) {
    return a.Plus(b.x, b.y, b.z);
}
constexpr Vector3D operator-(const Vector3D& a, const Vector3D& b) {
    return a.Minus(b.x, b.y, b.z);
}
double Distance(const Vector3D& a, const Vector3D& b);

// The axes of the surface run from the origin to these ends, twice the half-width of the cube
// [-1, 1]^3 that the samples fill, so that they stick out of it.
inline constexpr Vector3D kOrigin{0.0, 0.0, 0.0};
inline constexpr Vector3D kAxisEndX{2.0, 0.0, 0.0};
inline constexpr Vector3D kAxisEndY{0.0, 2.0, 0.0};
inline constexpr Vector3D kAxisEndZ{0.0, 0.0, 2.0};
