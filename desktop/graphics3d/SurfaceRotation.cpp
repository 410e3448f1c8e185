#include "desktop/graphics3d/SurfaceRotation.h"

#include <algorithm>
#include <cmath>

#include "desktop/graphics3d/Projection.h"

int PickRotationAxis(const Transform3D& view, const Vector3D& mousePoint) {
    int axis = 1;
    double nearest = Distance(Project(view, kAxisEndX), mousePoint);
    const double toY = Distance(Project(view, kAxisEndY), mousePoint);
    if (toY < nearest) {
        axis = 2;
        nearest = toY;
    }
    if (Distance(Project(view, kAxisEndZ), mousePoint) < nearest)
        axis = 3;
    return axis;
}

bool RotateView(Transform3D& view, int axis, Vector3D& mousePoint) {
    const Vector3D zEnd = view.TransformPoint(kAxisEndZ);
    if (axis == 1 || axis == 2) {
        const Vector3D xEnd = view.TransformPoint(kAxisEndX);
        const Vector3D yEnd = view.TransformPoint(kAxisEndY);
        const double slide = zEnd.Dot(kAxisEndY);
        if (slide == 0.0)
            return false;
        const double t = -zEnd.Dot(mousePoint) / slide;
        const Vector3D q = mousePoint + kAxisEndY.Scaled(t);
        const double qLength = q.Length();
        if (qLength == 0.0)
            return false;
        const double a = q.Dot(xEnd) / (xEnd.Length() * qLength);
        const double b = q.Dot(yEnd) / (yEnd.Length() * qLength);
        view = (axis == 1 ? Transform3D::Rz(a, b) : Transform3D::Rz(b, -a)) * view;
        return true;
    }
    const double reach = zEnd.Length();
    if (reach == 0.0)
        return false;
    if (std::abs(mousePoint.z) > reach)
        mousePoint.z = mousePoint.z > 0 ? reach : -reach;
    const Vector3D q{0.0, std::sqrt(std::max(0.0, reach * reach - mousePoint.z * mousePoint.z)),
                     mousePoint.z};
    const double c = q.Dot(zEnd) / (reach * q.Length());
    double s = std::sqrt(std::max(0.0, 1.0 - c * c));
    if (zEnd.z < mousePoint.z)
        s = -s;
    view = view * Transform3D::Rx(c, -s);
    return true;
}
