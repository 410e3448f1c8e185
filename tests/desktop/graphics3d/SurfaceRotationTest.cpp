#include "desktop/graphics3d/SurfaceRotation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "desktop/graphics3d/Projection.h"

namespace {

constexpr double kTolerance = 1e-9;

TEST(SurfaceRotation, PicksTheAxisWhoseEndIsNearestOnTheScreen) {
    const Transform3D view = InitialViewMatrix();
    EXPECT_EQ(PickRotationAxis(view, Project(view, kAxisEndX)), 1);
    EXPECT_EQ(PickRotationAxis(view, Project(view, kAxisEndY).Plus(0.1, 0, 0.1)), 2);
    EXPECT_EQ(PickRotationAxis(view, Project(view, kAxisEndZ).Plus(0, 0, 1)), 3);
    // Equally far from the x and z ends: the lower axis.
    EXPECT_EQ(PickRotationAxis(Transform3D::Identity(), {2, 0, 2}), 1);
}

// Turning about z leaves the view a doubled rotation and brings the picked axis's end onto the
// ray from the centre through the mouse.
TEST(SurfaceRotation, HorizontalAxesFollowTheMouseRound) {
    for (int axis : {1, 2}) {
        Transform3D view = InitialViewMatrix();
        Vector3D mouse{-1.5, 0, -0.8};
        ASSERT_TRUE(RotateView(view, axis, mouse));
        const Vector3D end = Project(view, axis == 1 ? kAxisEndX : kAxisEndY);
        EXPECT_NEAR(end.x * mouse.z - end.z * mouse.x, 0.0, kTolerance) << "axis " << axis;
        EXPECT_GT(end.x * mouse.x + end.z * mouse.z, 0.0) << "axis " << axis;
        for (const Vector3D& unit : {kAxisEndX, kAxisEndY, kAxisEndZ})
            EXPECT_NEAR(view.TransformPoint(unit).Length(), 4.0, kTolerance);
    }
}

TEST(SurfaceRotation, TheZAxisTiltsToTheMouseHeightWithinItsReach) {
    Transform3D view = InitialViewMatrix();
    Vector3D mouse{0.3, 0, 1.0};
    ASSERT_TRUE(RotateView(view, 3, mouse));
    EXPECT_NEAR(view.TransformPoint(kAxisEndZ).z, 1.0, kTolerance);

    Vector3D high{0, 0, 9.0};
    ASSERT_TRUE(RotateView(view, 3, high));
    EXPECT_NEAR(high.z, 4.0, kTolerance);
    EXPECT_NEAR(view.TransformPoint(kAxisEndZ).z, 4.0, kTolerance);
}

TEST(SurfaceRotation, AnUndefinedTurnIsSkipped) {
    // Seen from the side with z upright, the z end has no depth to slide the mouse along.
    Transform3D view = Transform3D::Identity();
    const Transform3D before = view;
    Vector3D mouse{0.5, 0, 0.5};
    EXPECT_FALSE(RotateView(view, 1, mouse));
    EXPECT_EQ(view.m, before.m);
    Vector3D centre{0, 0, 0};
    EXPECT_FALSE(RotateView(view = InitialViewMatrix(), 2, centre));
}

}  // namespace
