#include "desktop/graphics3d/Projection.h"

Transform3D InitialViewMatrix() {
    return Transform3D::RotationZ(0.4) * Transform3D::RotationX(-0.4) * Transform3D::Scaling(2.0);
}

Vector3D Project(const Transform3D& view, const Vector3D& point) {
    Vector3D result = view.TransformPoint(point);
    result.y = 0.0;
    return result;
}
