// Render targets (a frame drawn into a texture and shown again) and the debug camera under
// injected keys and mouse.
#include "gfx_fixture.h"

#include "camera.h"
#include "input.h"
#include "render_target.h"
#include "shapes.h"

#include "sys_input.h"

#include <cmath>

namespace {

constexpr uint32_t kBack = 0xFF000000;

class RenderTargetTest : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        StartDevice();
        SetLighting(0);
    }
};

class DebugCameraTest : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        StartDevice();
        ASSERT_EQ(InitDirectInput(), 1);
        g_frameTimer.m_fps = 30.0f;
        SetViewLookAt(Vec3(0, 0, 0), Vec3(0, 0, 1), Vec3(0, 1, 0));
    }
    void TearDown() override {
        FreeInput();
        GfxTest::TearDown();
    }
    void Poll() {
        PumpMessages();
        UpdateInput();
    }
};

}  // namespace

TEST_F(RenderTargetTest, FrameDrawnIntoATextureShowsAsATexture) {
    CRenderTarget rt;
    ASSERT_EQ(rt.Create(64, 64), 1);
    ASSERT_EQ(rt.Begin(0xFF00FF00), 1);
    DrawRect2D(0, 0, 64, 16, 0xFFFF0000);  // a red band along the top
    EXPECT_EQ(ReadScreenPixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(ReadScreenPixel(5, 40), 0xFF00FF00u);
    rt.End();
    Frame(kBack, [&] {
        SetDeviceTexture(0, rt.GetTexture());
        DrawTexturedRect2D(100, 100, 164, 164, 0xFFFFFFFF);
        SetDeviceTexture(0, nullptr);
        GfxSpriteDraw sprite;  // and through the sprite path
        sprite.srcRight = sprite.srcBottom = 64;
        sprite.x = 200, sprite.y = 100;
        GfxDrawSprite(rt.GetTexture(), sprite);
    });
    EXPECT_EQ(ReadScreenPixel(110, 105), 0xFFFF0000u);  // the top stays on top
    EXPECT_EQ(ReadScreenPixel(110, 150), 0xFF00FF00u);
    EXPECT_EQ(ReadScreenPixel(210, 105), 0xFFFF0000u);
    EXPECT_EQ(ReadScreenPixel(210, 150), 0xFF00FF00u);
    EXPECT_EQ(ReadScreenPixel(99, 150), kBack);
    EXPECT_EQ(ReadScreenPixel(5, 5), kBack);  // the back buffer never saw the texture's frame
}

TEST_F(RenderTargetTest, BeginNeedsCreateAndAFrameAndAlwaysRestoresTheTargets) {
    CRenderTarget rt;
    GfxSurface* before = GfxGetRenderTarget();
    EXPECT_EQ(rt.Begin(0xFFFFFFFF), 0);
    rt.End();  // without a begin: nothing happens
    GfxSurface* now = GfxGetRenderTarget();
    EXPECT_EQ(now, before);
    GfxReleaseSurface(now);

    ASSERT_EQ(rt.Create(32, 32), 1);
    GfxTestSetCooperativeLevel(kGfxDeviceLost);
    EXPECT_EQ(rt.Begin(0xFFFFFFFF), 0);
    now = GfxGetRenderTarget();
    EXPECT_EQ(now, before);  // not left drawing into the texture
    GfxReleaseSurface(now);
    GfxTestSetCooperativeLevel(kGfxOk);
    Frame(0xFF0000FF, [] {});
    EXPECT_EQ(ReadScreenPixel(300, 300), 0xFF0000FFu);

    EXPECT_EQ(rt.Begin(0xFFFFFFFF), 1);
    EXPECT_EQ(rt.Begin(0xFFFFFFFF), 0);  // already drawing into it
    rt.Release();                          // ends the frame and restores the targets first
    now = GfxGetRenderTarget();
    EXPECT_EQ(now, before);
    GfxReleaseSurface(now);
    GfxReleaseSurface(before);
    EXPECT_EQ(rt.IsCreated(), 0);
}

TEST_F(DebugCameraTest, KeysMoveDiagonallyAtThirtyFramesAndTurnOnly) {
    SysInjectKey(17, 1);  // W
    SysInjectKey(32, 1);  // D
    Poll();
    DebugCameraKeys(1.0f);
    Vec3 eye = GetCameraPosition();
    EXPECT_NEAR(eye.x, 1 / 1.4142135f, 1e-5);
    EXPECT_NEAR(eye.z, 1 / 1.4142135f, 1e-5);
    EXPECT_NEAR(eye.y, 0, 1e-6);
    // Below one frame a second: turning still works, moving does not.
    g_frameTimer.m_fps = 0.5f;
    SysInjectKey(17, 0);
    SysInjectKey(32, 0);
    SysInjectKey(kKeyRight, 1);
    SysInjectKey(31, 1);  // S
    Poll();
    Vec3 dirBefore = GetCameraDirection();
    DebugCameraKeys(0.01f);
    Vec3 after = GetCameraPosition();
    EXPECT_NEAR(after.x, eye.x, 1e-5);
    EXPECT_NEAR(after.z, eye.z, 1e-5);
    // Turn step v / 10 x 30 / f = 0.06 radians.
    EXPECT_NEAR(std::acos(Vec3Dot(GetCameraDirection(), dirBefore)), 0.06f, 1e-3);
}

TEST_F(DebugCameraTest, MouseTurnsAndTheCursorIsKeptInTheMiddleHalf) {
    SysInjectMouseMove(320, 240);
    Poll();
    DebugCameraMouse(0);  // first use: remembers where the cursor is
    Vec3 dir0 = GetCameraDirection();
    SysInjectMouseMove(600, 240);
    Poll();
    DebugCameraMouse(0);
    Vec3 dir1 = GetCameraDirection();
    // 280 pixels right at pi/3 per screen width: a turn of 280 / (640 / 1.0471976) radians.
    float turn = std::acos(Vec3Dot(dir0, dir1));
    EXPECT_NEAR(turn, 280 / (640 / 1.0471976f), 1e-3);
    EXPECT_NEAR(dir1.y, 0, 1e-5);  // a horizontal move turns about the vertical only
    Poll();
    EXPECT_EQ(GetMouseX(), 320);  // put back to the centre column
    EXPECT_EQ(GetMouseY(), 240);
    // The next small move turns from the centre column, without a jump.
    SysInjectMouseMove(330, 240);
    Poll();
    DebugCameraMouse(0);
    EXPECT_NEAR(std::acos(Vec3Dot(dir1, GetCameraDirection())), 10 / (640 / 1.0471976f), 1e-3);
}

TEST_F(DebugCameraTest, ReadoutsDrawText) {
    Frame(kBack, [] {
        DrawFpsText(0, 0);
        DrawCameraText(0, 20);
        DrawKeyText(0, 40);
        DrawMouseText(0, 60);
        DrawJoystickText(0, 80);
    });
    for (int y : {0, 20, 40, 60, 80, 96}) {
        int lit = 0;
        for (int x = 0; x < 200; ++x)
            for (int dy = 0; dy < 16; ++dy) lit += ReadScreenPixel(x, y + dy) != kBack;
        EXPECT_GT(lit, 10) << "line at " << y;
    }
}
