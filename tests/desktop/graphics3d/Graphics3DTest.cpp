#include "desktop/graphics3d/Graphics3D.h"

#include <gtest/gtest.h>

#include <cmath>

#include "desktop/graphics3d/Net3D.h"
#include "desktop/graphics3d/Projection.h"
#include "tests/desktop/graphics3d/RecordingSurface.h"

namespace {

constexpr double kTolerance = 1e-12;

void ExpectNear(const Vector3D& actual, const Vector3D& expected, double tolerance = kTolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(Transform3D, ProductAppliesTheLeftFactorFirstToRowVectors) {
    Transform3D shift = Transform3D::Identity();
    shift.m[3][0] = 1.0;  // translation by +1 in x
    const Transform3D turn = Transform3D::RotationZ(M_PI / 2);
    ExpectNear((shift * turn).TransformPoint({0, 0, 0}), turn.TransformPoint({1, 0, 0}));
    ExpectNear((turn * shift).TransformPoint({0, 0, 0}), {1, 0, 0});
    ExpectNear(turn.TransformPoint({1, 0, 0}), {0, 1, 0});
    ExpectNear(Transform3D::RotationX(M_PI / 2).TransformPoint({0, 1, 0}), {0, 0, 1});
    ExpectNear(Transform3D::Scaling(3).TransformPoint({1, -2, 0.5}), {3, -6, 1.5});
}

TEST(Projection, InitialViewShowsXToTheLowerRightAndZUpwards) {
    const Transform3D view = InitialViewMatrix();
    const Vector3D x = Project(view, kAxisEndX);
    const Vector3D z = Project(view, kAxisEndZ);
    EXPECT_EQ(x.y, 0.0);
    EXPECT_GT(x.x, 0.0);
    EXPECT_LT(x.z, 0.0);
    EXPECT_NEAR(z.x, 0.0, kTolerance);
    EXPECT_GT(z.z, 0.0);
    // A turn and a tilt keep lengths; the view doubles them.
    EXPECT_NEAR(view.TransformPoint(kAxisEndY).Length(), 4.0, kTolerance);
}

TEST(Graphics3D, ScreenPixelsAndUnprojectionMeetAtTheCentre) {
    Graphics3D renderer;
    renderer.SetClientSize(301, 200);
    EXPECT_EQ(renderer.CentreX(), 150);
    EXPECT_EQ(renderer.CentreY(), 100);
    renderer.SetViewMatrix(Transform3D::Identity());
    EXPECT_EQ(renderer.ToScreen({0, 5, 0}), (ScreenPoint{150, 100}));
    // Floors, not truncation: -0.01 model units is pixel -1 from the centre.
    EXPECT_EQ(renderer.ToScreen({-0.01, 0, 0.01}), (ScreenPoint{149, 99}));
    EXPECT_EQ(renderer.ToScreen({1, 0, 1}), (ScreenPoint{200, 50}));
    ExpectNear(renderer.Unproject(200, 50), {1, 0, 1});
    ExpectNear(renderer.Unproject(150, 100), kOrigin);
}

// An enlarged window draws a larger picture, which the mouse still meets where it is drawn.
TEST(Graphics3D, GrowsWithTheShorterSideBeyondTheDesignSquare) {
    Graphics3D renderer;
    renderer.SetViewMatrix(Transform3D::Identity());
    renderer.SetClientSize(Graphics3D::kDesignSide, 2000);
    EXPECT_EQ(renderer.Scale(), Graphics3D::kScale);
    renderer.SetClientSize(1000, 2 * Graphics3D::kDesignSide);
    EXPECT_EQ(renderer.Scale(), 2 * Graphics3D::kScale);
    EXPECT_EQ(renderer.ToScreen({1, 0, 1}), (ScreenPoint{600, 320}));
    ExpectNear(renderer.Unproject(600, 320), {1, 0, 1});
}

TEST(Net3D, ResizeKeepsPointsWhileTheirNumberStays) {
    Net3D net;
    EXPECT_EQ(net.PointCount(), 0);
    net.Resize(10, 10);
    net.Point(9, 9) = {1, 2, 3};
    net.Resize(20, 5);
    EXPECT_EQ(net.Rows(), 20);
    EXPECT_EQ(net.Columns(), 5);
    EXPECT_EQ(net.PointCount(), 100);
    EXPECT_EQ(net.Point(19, 4).z, 3.0);
    net.Resize(3, 3);
    EXPECT_EQ(net.Point(2, 2).z, 0.0);
}

// A flat net over [-1, 1]^2 at z = 0: row i is y, column j is x.
Net3D FlatNet(int rows, int columns) {
    Net3D net;
    net.Resize(rows, columns);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j)
            net.Point(i, j) = {-1.0 + 2.0 * j / std::max(1, columns - 1),
                               -1.0 + 2.0 * i / std::max(1, rows - 1), 0.0};
    }
    return net;
}

TEST(Graphics3D, NetsOfOneRowOrColumnHaveNoQuads) {
    Graphics3D renderer;
    RecordingSurface surface;
    renderer.DrawNet(surface, FlatNet(1, 7));
    renderer.DrawNet(surface, FlatNet(7, 1));
    EXPECT_TRUE(surface.polygons.empty());
    renderer.DrawNet(surface, FlatNet(4, 6));
    EXPECT_EQ(surface.polygons.size(), 15u);
    EXPECT_EQ(surface.brush, kWhite);
    EXPECT_EQ(surface.pen, kBlack);
}

class NetOrder : public testing::TestWithParam<double> {};

// Whichever way the net is turned, drawing starts at the corner farthest from the viewer (at
// negative view y) and ends at the nearest one.
TEST_P(NetOrder, StartsAtTheFarCornerAndEndsAtTheNearOne) {
    Graphics3D renderer;
    renderer.SetClientSize(500, 500);
    renderer.SetViewMatrix(Transform3D::RotationZ(GetParam()) * InitialViewMatrix());
    const Net3D net = FlatNet(5, 5);
    RecordingSurface surface;
    renderer.DrawNet(surface, net);
    ASSERT_EQ(surface.polygons.size(), 16u);

    const auto depth = [&](const Vector3D& p) { return renderer.ViewMatrix().TransformPoint(p).y; };
    Vector3D farthest = net.Point(0, 0), nearest = net.Point(0, 0);
    for (const Vector3D& corner : {net.Point(0, 4), net.Point(4, 0), net.Point(4, 4)}) {
        farthest = depth(corner) < depth(farthest) ? corner : farthest;
        nearest = depth(corner) > depth(nearest) ? corner : nearest;
    }
    EXPECT_EQ(surface.polygons.front()[0], renderer.ToScreen(farthest));
    EXPECT_EQ(surface.polygons.back()[2], renderer.ToScreen(nearest));
}

INSTANTIATE_TEST_SUITE_P(Turns, NetOrder, testing::Values(0.0, 1.2, 2.5, 3.7, 5.0));

}  // namespace
