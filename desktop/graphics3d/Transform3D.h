#pragma once

#include <array>

#include "desktop/graphics3d/Vector3D.h"

// A 4 x 4 matrix, row-major (m[row][column]), acting on row vectors: the translation lies in
// row 3, and A * B applies A first.
struct Transform3D {
    std::array<std::array<double, 4>, 4> m{};

    static Transform3D Identity();
    static Transform3D Scaling(double factor);
    // Rotations about x and z given by a cosine and a sine.
    static Transform3D Rx(double c, double s);
    static Transform3D RotationX(double angle);
    static Transform3D Rz(double c, double s);
    static Transform3D RotationZ(double angle);

    Vector3D TransformPoint(const Vector3D& p) const;
};

Transform3D operator*(const Transform3D& a, const Transform3D& b);
