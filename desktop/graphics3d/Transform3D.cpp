#include "desktop/graphics3d/Transform3D.h"

#include <cmath>

Transform3D Transform3D::Identity() {
    Transform3D result;
    for (int i = 0; i < 4; ++i)
        result.m[i][i] = 1.0;
    return result;
}

Transform3D Transform3D::Scaling(double factor) {
    Transform3D result = Identity();
    result.m[0][0] = result.m[1][1] = result.m[2][2] = factor;
    return result;
}

Transform3D Transform3D::Rx(double c, double s) {
    Transform3D result = Identity();
    result.m[1][1] = c;
    result.m[1][2] = s;
    result.m[2][1] = -s;
    result.m[2][2] = c;
    return result;
}

Transform3D Transform3D::RotationX(double angle) {
    return Rx(std::cos(angle), std::sin(angle));
}

Transform3D Transform3D::Rz(double c, double s) {
    Transform3D result = Identity();
    result.m[0][0] = c;
    result.m[0][1] = s;
    result.m[1][0] = -s;
    result.m[1][1] = c;
    return result;
}

Transform3D Transform3D::RotationZ(double angle) {
    return Rz(std::cos(angle), std::sin(angle));
}

Vector3D Transform3D::TransformPoint(const Vector3D& p) const {
    return {p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
            p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
            p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]};
}

Transform3D operator*(const Transform3D& a, const Transform3D& b) {
    Transform3D result;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += a.m[i][k] * b.m[k][j];
            result.m[i][j] = sum;
        }
    }
    return result;
}
