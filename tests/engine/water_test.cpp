// Water: a still surface keeps its texture grid, an impulse spreads without moving the
// border, a negative time step freezes the offsets, impulses outside are ignored, and a
// headless draw shows the surface.
#include "gfx_fixture.h"
#include "water.h"

#include "sys_rand.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Water, StillSurfaceAndImpulses) {
    GameSrand(3);
    CWater w;
    w.Setup(0, 0, 0, 20, 20, 0);
    for (int i = 0; i < 5; ++i) w.Step();
    for (int r = 0; r < kWaterPoints; ++r)
        for (int s = 0; s < kWaterPoints; ++s) EXPECT_EQ(w.GetOffset(r, s).x, 0.0f);

    w.AddImpulse(10, 10, 1.0f);  // the centre: row and column 10
    EXPECT_EQ(w.GetOffset(10, 10).x, 1.0f);
    EXPECT_EQ(w.GetOffset(10, 12).x, 0.0f);
    for (int i = 0; i < 3; ++i) w.Step();
    EXPECT_NE(w.GetOffset(10, 12).x, 0.0f);  // spread two points out
    EXPECT_NE(w.GetOffset(8, 10).y, 0.0f);
    for (int i = 0; i < 200; ++i) w.Step();
    for (int k = 0; k < kWaterPoints; ++k) {
        EXPECT_EQ(w.GetOffset(0, k).x, 0.0f);
        EXPECT_EQ(w.GetOffset(20, k).y, 0.0f);
        EXPECT_EQ(w.GetOffset(k, 0).x, 0.0f);
        EXPECT_EQ(w.GetOffset(k, 20).y, 0.0f);
    }

    // Outside the surface nothing is touched (and nothing is written past the grid).
    CWater still;
    still.Setup(0, 0, 0, 20, 20, 0);
    still.AddImpulse(-0.5f, 3, 1);
    still.AddImpulse(3, 25, 1);
    still.AddImpulse(1e30f, 1, 1);
    still.AddImpulse(NAN, 1, 1);
    still.AddImpulse(20, 20, 1);  // the far corner is a grid point
    EXPECT_EQ(still.GetOffset(20, 20).x, 1.0f);
    EXPECT_EQ(still.GetOffset(0, 0).x, 0.0f);
    EXPECT_EQ(still.GetOffset(3, 0).x, 0.0f);
}

TEST(Water, NegativeTimeStepFreezesTheOffsets) {
    CWater w;
    w.Setup(0, 0, 0, 10, 10, 0);
    w.AddImpulse(5, 5, 1);
    w.SetTimeStep(-1);
    EXPECT_EQ(w.GetTimeStep(), 0.0f);
    w.Step();
    w.Step();
    EXPECT_EQ(w.GetOffset(10, 11).x, 0.0f);
    w.SetTimeStep(0.05f);
    w.Step();  // the velocities kept changing meanwhile
    EXPECT_NE(w.GetOffset(10, 11).x, 0.0f);
}

class WaterDraw : public GfxTest {};

TEST_F(WaterDraw, StillSurfaceTexturesTheGridAndShows) {
    StartDevice();
    g_matView = MatrixLookAtLH(Vec3(0, 0, -10), Vec3(0, 0, 0), Vec3(0, 1, 0));
    CWater w;
    w.Setup(0, 0, 0, 4, 4, 0);
    w.SetColor(0xFF3080FF);
    SetLighting(0);
    Frame(0xFF000000, [&] {
        DeviceSetTransform(Mat4::Identity());
        w.Draw();
    });
    const Vertex* v = w.GetVertices();
    int cell = 20 * 7 + 3;  // row 7, column 3
    EXPECT_FLOAT_EQ(v[cell * 6].u, 3.0f / 20);
    EXPECT_FLOAT_EQ(v[cell * 6].v, 1 - 7.0f / 20);
    EXPECT_FLOAT_EQ(v[cell * 6 + 3].x, -2 + 4 * 0.2f);
    EXPECT_EQ(GfxReadPixel(320, 240), 0xFF3080FFu);
    EXPECT_EQ(GfxReadPixel(5, 5), 0xFF000000u);
}

}  // namespace
