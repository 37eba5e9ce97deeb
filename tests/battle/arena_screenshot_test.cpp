// Pictures for people to look at: each frame type standing on the battle dome (stage 1), and
// every stage with two robots facing off, drawn headless in the battle's drawing order and saved
// into the screenshot folder. The checks only make sure something recognisable was drawn.
#include "arena_fixture.h"

#include "camera.h"
#include "graphics.h"
#include "sys_graphics.h"

#include <cmath>

namespace {

using ArenaPictures = ArenaTest;

// Stands a robot on the ground below (x, z), facing along `facing` (+1 looks towards +z).
void StandOnGround(CRobot& r, const C3DObject& ground, float x, float z, float facing) {
    C3DObject& root = r.m_frames[kRootFrame];
    root.SetOrientation(Vec3(0, 0, -facing), Vec3(0, 1, 0));
    root.SetLocalPosition(x, 2.0f, z);
    Vec3 hit;
    if (!ground.PickMesh(Vec3(x, 100.0f, z), Vec3(0, -1, 0), &hit)) return;
    float tip = 1e9f;
    for (int shin : {8, 10})
        tip = std::min(tip, Vec3TransformCoord(Vec3(0, float(r.m_legLength), 0), r.m_frames[shin].GetWorldMatrix()).y);
    root.TranslateWorld(Vec3(0, hit.y - tip, 0));
    r.m_shadow.SetLocalPosition(x, hit.y + 0.02f, z);
}

// A ready stance: the weapon arm raised forward, the shield arm a little out.
void Pose(CRobot& r) {
    r.m_frames[5].RotateX(1.35f);
    r.m_frames[6].RotateX(0.2f);
    r.m_frames[3].RotateZ(0.25f);
    r.m_frames[3].RotateX(0.5f);
    r.m_frames[4].RotateX(0.6f);
}

void DrawRobot(CRobot& r) {
    for (int f = 0; f < kRobotPartCount; ++f) r.m_frames[f].Draw();
    for (int f = kLeftHandFrame; f <= kAuxFrame1; ++f) r.m_frames[f].Draw();
}

// The battle's order: stage, robots, weather box at the camera without fog, shadows.
void DrawArena(PlacedStage& stage, CStage& env, CRobot* robots, int count) {
    SetLighting(1);
    SetAlphaTest(1, kCmpGreaterEqual, 16);
    stage.nodes[1].Draw();
    for (int i = 0; i < count; ++i) DrawRobot(robots[i]);
    if (stage.weather == 0) {
        env.DisableFog();
        SetZWriteEnable(0);
        Vec3 eye = GetCameraPosition();
        stage.nodes[2].SetLocalPosition(eye.x, eye.y, eye.z);
        stage.nodes[2].Draw();
        SetZWriteEnable(1);
        env.ApplyFog();
    } else {
        SetZWriteEnable(0);
        SetZEnable(0);
        Vec3 eye = GetCameraPosition();
        stage.nodes[2].SetLocalPosition(2 * std::trunc(eye.x / 2), 2 * std::trunc(eye.y / 2) - 0.4f, 2 * std::trunc(eye.z / 2));
        stage.nodes[2].Draw();
        SetZEnable(1);
        SetZWriteEnable(1);
    }
    SetAlphaTest(0, kCmpAlways, 0);
    SetZWriteEnable(0);
    for (int i = 0; i < count; ++i) robots[i].m_shadow.Draw();
    SetZWriteEnable(1);
}

// Pixels that differ from the clear colour, and how many colours the picture holds roughly.
int DrawnPixels(const ScreenImage& image, uint32_t clear) {
    int n = 0;
    for (uint32_t p : image.argb) n += (p | 0xFF000000u) != clear;
    return n;
}

struct Build {
    int type, left, right;
    int main[3], sub[3];
    const char* name;
};
const Build kBuilds[] = {
    {36, 3, 2, {7, 7, 7}, {1, 2, 6}, "36_zero"},         {29, 0, 12, {7, 7, 7}, {6, 0, 0}, "29_justice"},
    {9, 2, 3, {2, 4, 2}, {4, 5, 3}, "09_flat"},           {21, 1, 6, {6, 4, 1}, {1, 1, 2}, "21_siren"},
    {31, 7, 7, {1, 1, 3}, {7, 5, 0}, "31_eagle"},         {32, 5, 1, {0, 0, 1}, {7, 7, 7}, "32_maid"},
    {33, 4, 8, {4, 1, 5}, {6, 6, 2}, "33_actor"},
};

std::string CodeOf(const Build& b, int variant) {
    CRobotCatalog c;
    c.SetConfig(b.type, b.left, b.right, variant, variant, variant, variant, variant, variant, b.main[0], b.main[1],
                b.main[2], b.sub[0], b.sub[1], b.sub[2]);
    return c.EncodeConfig();
}

TEST_F(ArenaPictures, EachFrameTypeOnTheBattleDome) {
    for (const Build& b : kBuilds) {
        SCOPED_TRACE(b.name);
        CStage env;
        env.m_graphicsLevel = 3;
        PlacedStage stage;
        stage.Load(env, 1);
        CRobot robots[2];
        CRobotCatalog c;
        // At side B's start, lit from the front, with the type's variant parts a step behind.
        c.BuildRobot(&robots[0], CodeOf(b, 0));
        c.BuildRobot(&robots[1], CodeOf(b, 1));
        StandOnGround(robots[0], stage.nodes[0], 0, 6.0f, -1);
        StandOnGround(robots[1], stage.nodes[0], -1.6f, 7.5f, -1);
        Pose(robots[0]);
        Pose(robots[1]);
        Vec3 chest = robots[0].m_frames[1].GetWorldPosition();
        SetViewLookAt(chest + Vec3(0.9f, 0.4f, -3.0f), chest + Vec3(-0.3f, -0.2f, 0), Vec3(0, 1, 0));
        ScreenImage empty, shot;
        ASSERT_EQ(BeginFrame(stage.clear), 1);
        DrawArena(stage, env, robots, 0);
        EndFrame();
        empty = driver.ReadFrame();
        ASSERT_EQ(BeginFrame(stage.clear), 1);
        DrawArena(stage, env, robots, 2);
        EndFrame();
        shot = driver.ReadFrame();
        ASSERT_EQ(shot.SavePng(std::string(SCREENSHOT_DIR) + "/robot_" + b.name + "_stage1.png"), 1);
        // The stage fills the picture and the robot covers a good part of its middle.
        EXPECT_GT(DrawnPixels(empty, stage.clear), 640 * 480 / 2);
        int robotPixels = 0;
        for (size_t i = 0; i < shot.argb.size(); ++i) robotPixels += shot.argb[i] != empty.argb[i];
        EXPECT_GT(robotPixels, 640 * 480 / 20);
    }
}

TEST_F(ArenaPictures, EveryStageWithTwoRobotsFacingOff) {
    for (int number : kStageNumbers) {
        SCOPED_TRACE("stage " + std::to_string(number));
        CStage env;
        env.m_graphicsLevel = 3;
        PlacedStage stage;
        stage.Load(env, number);
        CRobot robots[2];
        CRobotCatalog c;
        c.BuildRobot(&robots[0], CodeOf(kBuilds[1], 0));
        c.BuildRobot(&robots[1], CodeOf(kBuilds[2], 1));
        StandOnGround(robots[0], stage.nodes[0], 0, -6.0f, 1);
        StandOnGround(robots[1], stage.nodes[0], 0, 6.0f, -1);
        Pose(robots[0]);
        Pose(robots[1]);
        // Behind robot 0's shoulder, looking across the arena at robot 1.
        Vec3 from = robots[0].m_frames[1].GetWorldPosition(), to = robots[1].m_frames[1].GetWorldPosition();
        SetViewLookAt(from + Vec3(-1.8f, 1.6f, -4.5f), to + Vec3(0, -0.5f, 0), Vec3(0, 1, 0));
        ASSERT_EQ(BeginFrame(stage.clear), 1);
        DrawArena(stage, env, robots, 2);
        EndFrame();
        ScreenImage shot = driver.ReadFrame();
        ASSERT_EQ(shot.SavePng(std::string(SCREENSHOT_DIR) + "/stage_" + std::to_string(number) + ".png"), 1);
        EXPECT_GT(DrawnPixels(shot, stage.clear), 640 * 480 / 3);
    }
}

}  // namespace
