#pragma once

#include "desktop/graphics3d/Transform3D.h"
#include "desktop/graphics3d/Vector3D.h"

// Turning the control surface with the mouse. The mouse point is a pixel taken back into
// view space (Graphics3D::Unproject); the view matrix maps model space into view space.

// 1, 2 or 3: the axis (x, y, z) whose projected end lies nearest to the mouse point; on a tie
// the lower axis.
int PickRotationAxis(const Transform3D& view, const Vector3D& mousePoint);

// Turns the view so that the picked axis follows the mouse point: x and y turn about the
// model's z axis, z about the view's x axis. Clamps the mouse point's z into the reach of the
// z axis for axis 3. Returns false, leaving the view alone, where the turn has no defined
// angle (the mouse point on the axis of the turn).
bool RotateView(Transform3D& view, int axis, Vector3D& mousePoint);
