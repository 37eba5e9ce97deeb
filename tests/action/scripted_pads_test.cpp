// Ground movement through the battle's own step with scripted pads: a robot of type 29 on
// stage 1 is dropped, walks, dashes, brakes and jumps, and an overloaded one walks at half
// speed, each measured as the scripts and the motion imply.
#include "../battle/arena_fixture.h"
#include "action_helpers.h"
#include "battle.h"

#include <memory>
#include <string>

namespace {

using ScriptedPads = ArenaTest;

// Pad buttons by robot input: inputs 0 to 9 are buttons 0 to 9, the boost input 11 is button 10.
int ButtonOf(int input) { return input == kInBoost ? 10 : input; }

struct SPadSpan {
    int from, to;  // steps, inclusive
    int inputs[2];
};

struct SScript {
    const SPadSpan* spans;
    int count;
    bool Held(int step, int input) const {
        for (int i = 0; i < count; ++i)
            if (step >= spans[i].from && step <= spans[i].to &&
                (spans[i].inputs[0] == input || spans[i].inputs[1] == input))
                return true;
        return false;
    }
    // The four-state pad of a step: pressed on the step a button goes down, released after.
    void Fill(int step, CPad* pad) const {
        pad->Reset(kPadUp);
        for (int input : {kInForward, kInBack, kInRight, kInLeft, kInBoost}) {
            const bool now = Held(step, input), before = Held(step - 1, input);
            pad->m_values[ButtonOf(input)] = now ? (before ? kPadHeld : kPadPressed) : (before ? kPadReleased : kPadUp);
        }
    }
};

// A battle of two type-29 robots on stage 1 stepped by the battle itself; robot 1 stands by.
struct SPadBattle {
    std::unique_ptr<CBattle> battle = std::make_unique<CBattle>();
    CRobot& r = battle->m_robots[0];
    C3DObject* ground = &battle->m_stageObjects[0];

    SPadBattle(const std::string& code, float x, float y, float z) {
        battle->m_drawEnabled = 0;
        battle->m_robotCount = 2;
        battle->BuildRobot(0, 0, code);
        battle->BuildRobot(1, 0, code);
        battle->LoadStage(1);
        battle->m_robots[1].m_frames[kRootFrame].SetLocalPosition(-8, 5, -8);
        battle->m_robots[1].PlaceOnGround(ground);
        r.m_frames[kRootFrame].SetLocalPosition(x, y, z);
        r.m_lockOn = false;  // the scripts turn nothing: the robot keeps facing -Z
        r.m_trackStyle = 10;
    }
    void Step(const SScript& script, int step) {
        script.Fill(step, &battle->m_slotPads[0]);
        battle->m_slotPads[1].Reset(kPadUp);
        battle->SimulateStep();
    }
    Vec3 At() const { return r.m_frames[kRootFrame].GetLocalPosition(); }
    // How far the robot went ahead (along its facing, the root's -Z) between two positions.
    float Ahead(const Vec3& from, const Vec3& to) const {
        return Vec3Dot(to - from, -r.m_frames[kRootFrame].GetLocalAxisZ());
    }
};

const SPadSpan kRun[] = {
    {51, 80, {kInForward, -1}},         // walk
    {81, 110, {kInForward, kInBoost}},  // boosted dash
    {130, 132, {kInBoost, -1}},         // crouch, take off on release
};

TEST_F(ScriptedPads, DropWalkDashBrakeAndJumpOnStage1) {
    SPadBattle b(BuildCode(29, 0, 12), 7, 6, 8);
    const SScript script = {kRun, 3};
    float floorY = 0, walked = 0, dashed = 0, top = -100;
    int dashEp = 0, landedAt = -1, takeOffAt = -1;
    std::string seen;
    for (int step = 1; step <= 190; ++step) {
        if (step == 81) b.r.m_ep = 500;  // clear of both bounds, so every payment shows
        const Vec3 before = b.At();
        const int ep = b.r.m_ep;
        b.Step(script, step);
        const Vec3 after = b.At();
        if (seen.find(b.r.m_currentAction + "|") == std::string::npos) seen += b.r.m_currentAction + "|";
        if (step >= 45 && step <= 50) {  // dropped from 6 units up, it stands by now
            ASSERT_EQ(b.r.m_currentAction, "構え") << step;
            ASSERT_LT(b.r.m_groundHeight, 0.02) << step;
            floorY = after.y;
        }
        if (step >= 66 && step <= 80) walked += b.Ahead(before, after);
        if (step >= 86 && step <= 95) dashed += b.Ahead(before, after);
        if (step >= 82 && step <= 110) dashEp += ep - b.r.m_ep;
        if (step > 120) {
            if (after.y > top) top = after.y;
            if (takeOffAt < 0 && b.r.m_velocity[1] > 0) takeOffAt = step;
            if (landedAt < 0 && takeOffAt > 0 && b.r.m_currentAction == "硬直２") landedAt = step;
        }
    }
    EXPECT_NEAR(walked / 15, b.r.m_walkSpeed, 0.005);
    EXPECT_NEAR(dashed / 10, b.r.m_dashSpeed, 0.02);
    // The dash starts at 82: the lump at its first step and the cost of the 14 steps after its
    // 15th, less what the robot regains each step (its EP change per step) over the 29 steps.
    EXPECT_EQ(dashEp, b.r.m_dashStartEnergy + 14 * b.r.m_dashStepEnergy - 29 * b.r.m_epPerStep);
    // Pressed at 130 in the stance, released at 133: the crouch takes off at once. Up and down
    // again under gravity takes 2 x jump speed / 0.02 steps; the aerial jump's hover gives back
    // 0.005 a step while it is not falling fast, so at most 2 x jump speed / 0.015.
    EXPECT_EQ(takeOffAt, 133);
    EXPECT_GE(landedAt, takeOffAt + static_cast<int>(2 * b.r.m_jumpSpeed / 0.02));
    EXPECT_LE(landedAt, takeOffAt + static_cast<int>(2 * b.r.m_jumpSpeed / 0.015) + 1);
    EXPECT_GT(top - floorY, 0.8f);
    for (const char* name : {"歩行６", "ダッシュ2005a", "h29_ブレーキ", "ジャンプ２", "ジャンプ２ＡＦＤ", "硬直２"})
        EXPECT_NE(seen.find(std::string(name) + "|"), std::string::npos);
    EXPECT_EQ(b.r.m_currentAction, "構え");
    EXPECT_LT(b.r.m_groundHeight, 0.02);
}

TEST_F(ScriptedPads, AnOverloadedRobotWalksAtHalfSpeed) {
    const SPadSpan walk[] = {{1, 60, {kInForward, -1}}};
    const SScript script = {walk, 1};
    float speed[2];
    for (int loaded = 0; loaded < 2; ++loaded) {
        SPadBattle b(BuildCode(29, 0, 12), 7, 0, 8);
        ASSERT_TRUE(b.r.PlaceOnGround(b.ground));
        if (loaded) b.r.m_partWeights[0] = b.r.m_loadCapacity + 1 - b.r.m_partWeights[1] - b.r.m_partWeights[2] - b.r.m_partWeights[3];
        Vec3 at40;
        for (int step = 1; step <= 60; ++step) {
            b.Step(script, step);
            if (step == 40) at40 = b.At();
        }
        speed[loaded] = b.Ahead(at40, b.At()) / 20;
        if (!loaded) {
            EXPECT_NEAR(speed[0], b.r.m_walkSpeed, 0.005f);
        }
    }
    EXPECT_NEAR(speed[1], speed[0] * 0.5f, 0.005f);
}

}  // namespace
