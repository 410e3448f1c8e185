#include "desktop/graphics3d/Vector3D.h"

#include <cmath>

double Vector3D::Length() const {
    return std::sqrt(x * x + y * y + z * z);
}

double Distance(const Vector3D& a, const Vector3D& b) {
    return (a - b).Length();
}
