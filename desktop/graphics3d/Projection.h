#pragma once

#include "desktop/graphics3d/Transform3D.h"
#include "desktop/graphics3d/Vector3D.h"

// Orthographic projection: model y is the depth (positive away from the viewer) and is
// dropped; screen x follows model x and screen up follows model z.

// The view the surface starts with: turned 0.4 rad about z, tilted -0.4 rad about x, and
// doubled in size.
Transform3D InitialViewMatrix();
Vector3D Project(const Transform3D& view, const Vector3D& point);
