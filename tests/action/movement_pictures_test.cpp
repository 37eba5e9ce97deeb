// A robot walking, dashing, braking and jumping on stage 1 under its scripts, stepped as the
// robot's update does and drawn headless from a chase camera; the pictures go into the
// screenshot folder, and the checks hold the movement to what the scripts imply on the real
// collision mesh.
#include "../battle/arena_fixture.h"
#include "action_helpers.h"
#include "action_rig.h"

#include "camera.h"
#include "graphics.h"
#include "sys_text.h"

#include <cstdio>
#include <string>

namespace {

using MovementPictures = ArenaTest;

void DrawScene(PlacedStage& stage, CRobot& r) {
    SetLighting(1);
    stage.nodes[1].Draw();
    for (int f = 0; f < kRobotPartCount; ++f) r.m_frames[f].Draw();
    for (int f = kLeftHandFrame; f <= kAuxFrame1; ++f) r.m_frames[f].Draw();
    SetZWriteEnable(0);
    r.m_shadow.Draw();
    SetZWriteEnable(1);
}

// The pad of each step: which buttons are held (pressed on the step they go down).
struct SPadSpan {
    int from, to;  // steps, inclusive
    int buttons[2];
};

const SPadSpan kScript[] = {
    {1, 30, {kInForward, -1}},       // walk
    {31, 60, {kInForward, kInBoost}},  // boosted dash
    {76, 78, {kInBoost, -1}},        // crouch, then take off on release
};

bool HeldAt(int step, int button) {
    for (const SPadSpan& s : kScript)
        if (step >= s.from && step <= s.to && (s.buttons[0] == button || s.buttons[1] == button)) return true;
    return false;
}

void ApplyScript(CRobot& r, int step) {
    for (int k = 0; k < kInputCount; ++k) {
        const bool now = HeldAt(step, k), before = HeldAt(step - 1, k);
        SetInput(r, k, now ? (before ? kPadHeld : kPadPressed) : (before ? kPadReleased : kPadUp));
    }
}

TEST_F(MovementPictures, WalkDashAndJumpOnStage1) {
    CStage env;
    env.m_graphicsLevel = 3;
    PlacedStage stage;
    stage.Load(env, 1);
    CRobot r;
    CRobotCatalog catalog;
    catalog.BuildRobot(&r, BuildCode(29, 0, 12));
    ASSERT_EQ(r.m_actionNames[kActWalk], "歩行６");
    ASSERT_EQ(r.m_actionNames[kActDash], "ダッシュ2005a");
    PlaceAt(r, 7, 5, 8);  // beside the raised centre, so the run stays on the floor
    C3DObject* ground = &stage.nodes[0];
    ASSERT_TRUE(r.PlaceOnGround(ground));
    const float floorY = RootPosition(r).y;

    float walked = 0, dashed = 0, top = floorY;
    std::string seen;
    int picture = 0;
    for (int step = 1; step <= 130; ++step) {
        ApplyScript(r, step);
        const Vec3 before = RootPosition(r);
        StepRobot(r, ground);
        r.UpdatePose();
        const Vec3 after = RootPosition(r);
        if (step >= 16 && step <= 30) walked += before.z - after.z;
        if (step >= 40 && step <= 55) dashed += before.z - after.z;
        if (after.y > top) top = after.y;
        if (seen.find(r.m_currentAction) == std::string::npos) seen += r.m_currentAction + "|";
        if (step % 5 == 0) {
            const Vec3 at = after + Vec3(0, 1.2f, 0);
            SetViewLookAt(at + Vec3(2.5f, 1.8f, 5.5f), at, Vec3(0, 1, 0));
            ASSERT_EQ(BeginFrame(stage.clear), 1);
            DrawScene(stage, r);
            EndFrame();
            char name[64];
            std::snprintf(name, sizeof name, "/movement_%02d_step%03d.png", picture++, step);
            ASSERT_EQ(driver.ReadFrame().SavePng(std::string(SCREENSHOT_DIR) + name), 1);
        }
    }
    // Walking at the walk speed, dashing at the dash speed (ahead is -Z), a jump over half a
    // unit high, and back in the stance on the floor at the end, its feet on the ground.
    EXPECT_NEAR(walked / 15, r.m_walkSpeed, 0.01);
    EXPECT_NEAR(dashed / 16, r.m_dashSpeed, 0.03);
    EXPECT_GT(top - floorY, 0.5f);
    for (const char* name : {"歩行６", "ダッシュ2005a", "h29_ブレーキ", "ジャンプ２", "ジャンプ２ＡＦＤ", "硬直２"})
        EXPECT_NE(seen.find(name), std::string::npos) << SjisToUtf8(name) << " never ran: " << SjisToUtf8(seen);
    EXPECT_EQ(r.m_currentAction, "構え");
    EXPECT_NEAR(RootPosition(r).y, floorY, 0.05f);  // the stance bends the knees a little
    EXPECT_LT(r.m_groundHeight, 0.02);
}

}  // namespace
