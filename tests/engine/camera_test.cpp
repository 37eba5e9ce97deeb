// The camera over the view matrix, screen mapping, the vector helpers and the nodes that face
// the camera.
#include "camera.h"
#include "graphics.h"
#include "node.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectVec(const Vec3& v, float x, float y, float z, float eps = 1e-4f) {
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

// The frame matrices as start-up and begin-frame leave them, without a device.
void DeriveFrameMatrices() {
    g_matProj = MatrixPerspectiveFovLH(kPi / 4, 640.0f / 480.0f, 0.1f, 100.0f);
    g_matScreen = Mat4::Identity();
    g_matScreen.m[0][0] = 320;
    g_matScreen.m[1][1] = -240;
    g_matScreen.m[3][0] = 320;
    g_matScreen.m[3][1] = 240;
    g_matViewProjScreen = g_matView * g_matProj * g_matScreen;
    MatrixInverse(&g_matInvViewProjScreen, g_matViewProjScreen);
}

TEST(Camera, AimingAndReadingBack) {
    SetViewLookAt(Vec3(1, 2, -5), Vec3(1, 2, 5), Vec3(0, 1, 0));
    ExpectVec(GetCameraPosition(), 1, 2, -5);
    ExpectVec(GetCameraDirection(), 0, 0, 1);
    ExpectVec(GetCameraUp(), 0, 1, 0);
    ExpectVec(GetCameraRight(), 1, 0, 0);

    SetViewLookAlong(Vec3(0, 0, 0), Vec3(3, 0, 0), Vec3(0, 1, 0));
    ExpectVec(GetCameraDirection(), 1, 0, 0);
    SetViewTarget(Vec3(0, 0, -4));
    ExpectVec(GetCameraDirection(), 0, 0, -1);

    // SetViewPosition moves the eye only.
    SetViewLookAt(Vec3(0, 5, -5), Vec3(0, 0, 0), Vec3(0, 1, 0));
    Vec3 dir = GetCameraDirection();
    SetViewPosition(Vec3(7, 8, 9));
    ExpectVec(GetCameraPosition(), 7, 8, 9);
    ExpectVec(GetCameraDirection(), dir.x, dir.y, dir.z);

    // A turn and its opposite restore the view.
    Mat4 before = g_matView;
    RotateViewY(0.4f);
    EXPECT_GT(std::fabs(GetCameraDirection().x), 0.1f);
    RotateViewY(-0.4f);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(g_matView.m[i][j], before.m[i][j], 1e-5f);

    // Moving along the camera's own axes.
    SetViewLookAt(Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0));
    TranslateView(Vec3(0, 0, 2));
    ExpectVec(GetCameraPosition(), 2, 0, 0);
    TranslateViewInPlace(Vec3(0, 1, 0));
    ExpectVec(GetCameraPosition(), 2, 1, 0);

    // A turn about the world vertical through the eye keeps the eye and the horizon.
    SetViewLookAt(Vec3(0, 1, 0), Vec3(0, 1, 5), Vec3(0, 1, 0));
    RotateViewAxis(kHalfPi);
    ExpectVec(GetCameraPosition(), 0, 1, 0);
    ExpectVec(GetCameraDirection(), -1, 0, 0);
    ExpectVec(GetCameraUp(), 0, 1, 0);
    RotateViewX(0.3f);
    EXPECT_NEAR(std::fabs(GetCameraDirection().y), std::sin(0.3f), 1e-5f);
    ExpectVec(GetCameraPosition(), 0, 1, 0);
}

TEST(Camera, ScreenMapping) {
    SetViewLookAt(Vec3(0, 3, -10), Vec3(0, 1, 0), Vec3(0, 1, 0));
    DeriveFrameMatrices();
    Vec3 s = WorldToScreen(Vec3(0, 1, 0));
    ExpectVec(s, 320, 240, 0, 1e-3f);
    Vec3 right = WorldToScreen(Vec3(1, 1, 0));
    EXPECT_GT(right.x, 320);
    Vec3 eye = WorldToScreen(Vec3(0, 3, -10));
    EXPECT_EQ(eye.z, 0.0f);
    EXPECT_TRUE(std::isfinite(eye.x) && std::isfinite(eye.y));
    Vec3 behind = WorldToScreen(Vec3(0, 3, -10) - Vec3Normalize(Vec3(0, -2, 10)));
    EXPECT_EQ(behind.z, -1.0f);
    // Back from the screen to the world.
    Vec3 back = ScreenToWorld(Vec3(right.x, right.y, Vec3TransformCoord(Vec3(1, 1, 0), g_matViewProjScreen).z));
    ExpectVec(back, 1, 1, 0, 1e-3f);
    ExpectVec(TransformByView(Vec3(0, 3, -10) + GetCameraDirection()), 0, 0, 1, 1e-5f);
}

TEST(Camera, NodesFacingTheCamera) {
    SetViewLookAt(Vec3(5, 0, 0), Vec3(0, 0, 0), Vec3(0, 1, 0));
    C3DObject n;
    n.SetScale(2);
    n.FaceCameraY();
    ExpectVec(n.GetLocalAxisZ(), 2, 0, 0);
    // Eye straight ahead or behind along Z (d.x = 0): no division, a plain yaw.
    SetViewLookAt(Vec3(0, 0, 5), Vec3(0, 0, 0), Vec3(0, 1, 0));
    n.FaceCameraY();
    ExpectVec(n.GetLocalAxisZ(), 0, 0, 2);
    SetViewLookAt(Vec3(0, 0, -5), Vec3(0, 0, 0), Vec3(0, 1, 0));
    n.FaceCameraY();
    ExpectVec(n.GetLocalAxisZ(), 0, 0, -2);
    // FaceCameraZ turns +Y toward the eye within the XY plane.
    SetViewLookAt(Vec3(5, 0, -1), Vec3(0, 0, 0), Vec3(0, 1, 0));
    n.FaceCameraZ();
    ExpectVec(n.GetLocalAxisY(), 2, 0, 0);
    SetViewLookAt(Vec3(0, -5, -1), Vec3(0, 0, 0), Vec3(0, 1, 0));
    n.FaceCameraZ();
    ExpectVec(n.GetLocalAxisY(), 0, -2, 0);
    EXPECT_TRUE(std::isfinite(n.m_matrix.m[0][0]));

    // On screen: in front of the camera yes, behind no.
    SetViewLookAt(Vec3(0, 0, -10), Vec3(0, 0, 0), Vec3(0, 1, 0));
    DeriveFrameMatrices();
    C3DObject p;
    EXPECT_EQ(p.IsOnScreen(), 1);
    p.SetLocalPosition(0, 0, -20);
    EXPECT_EQ(p.IsOnScreen(), 0);
}

TEST(VectorHelpers, DistancesAndAngles) {
    EXPECT_FLOAT_EQ(GetDistance(0, 0, 0, 3, 4, 0), 5.0f);
    EXPECT_EQ(GetDistance(1, 2, 3, 1, 2, 3), 0.0f);
    EXPECT_FLOAT_EQ(GetDistanceVec(Vec3(1, 1, 1), Vec3(1, 4, 5)), 5.0f);

    EXPECT_FLOAT_EQ(GetAngle2D(Vec3(1, 0, 0)), 1.570795f);
    EXPECT_FLOAT_EQ(GetAngle2D(Vec3(0, 5, -1)), static_cast<float>(1.570795 + 1.5707963267948966));
    EXPECT_FLOAT_EQ(GetAngle2D(Vec3(0, 0, 1)), static_cast<float>(1.570795 - 1.5707963267948966));
    EXPECT_FLOAT_EQ(GetAngle2D(Vec3(0, 99, 1)), GetAngle2D(Vec3(0, 0, 1)));
    EXPECT_FLOAT_EQ(GetAngle2D(Vec3()), 1.570795f);  // no NaN for a zero vector
    EXPECT_FLOAT_EQ(GetAngle2D(1.0f, 0.0f), 1.570795f);
    EXPECT_FLOAT_EQ(GetAngle2D(0.0f, 1.0f), static_cast<float>(1.570795 - 1.5707963267948966));
    EXPECT_FLOAT_EQ(GetAngle2D(0.0f, -1.0f), static_cast<float>(1.570795 + 1.5707963267948966));
    EXPECT_FLOAT_EQ(GetAngle2D(0.0f, 0.0f), 1.570795f);
    EXPECT_NEAR(GetAngleFromX(0, 2), 1.5707963f, 1e-6f);
    EXPECT_EQ(GetAngleFromX(0, 0), 0.0f);
}

TEST(VectorHelpers, RelativePositionOfRobots) {
    // An observer at (0, 0, 0) whose Z axis points along +X sees a target at (5, 0, 1)
    // 5 ahead and 1 to its left (x negative).
    C3DObject observer, target;
    observer.RotateY(kHalfPi);
    target.SetLocalPosition(5, 0, 1);
    Vec3 r = GetRelativePosition(observer, target);
    ExpectVec(r, -1, 0, 5);
    ExpectVec(TransformToLookAtSpaceV(Vec3(1, 0, 0), Vec3(), Vec3(5, 0, 1)), -1, 0, 5);
    ExpectVec(TransformToLookAtSpace(Vec3(0, 0, 1), Vec3(0, 0, 10), Vec3(0, 2, 13)), 0, 2, 3);
}

}  // namespace
