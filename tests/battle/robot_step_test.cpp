// The robot step's own parts: the per-step bookkeeping, the push that keeps robots apart and
// the muzzle pass for every mount kind on a hand-built frame hierarchy.
#include "robot.h"

#include "camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

TEST(RobotTick, BalanceRegeneratesOnlyWhenStandingStill) {
    struct Row {
        const char* what;
        double height, forward, side;
        const char* action;
        int expectVp;
    };
    const Row rows[] = {
        {"standing in stance", 0.0, 0.0, 0.0, "構え", 51},
        {"just below the still speeds", 0.09, 0.019, -0.019, "構え", 51},
        {"walking forward", 0.0, -0.03, 0.0, "歩行４", 50},
        {"sidestepping", 0.0, 0.0, 0.02, "歩行４", 50},
        {"off the ground", 0.1, 0.0, 0.0, "ジャンプ", 50},
        {"hit-stunned", 0.0, 0.0, 0.0, "被弾硬直２", 50},
        {"shooting", 0.0, 0.0, 0.0, "ダッシュショット", 50},
        {"blade", 0.0, 0.0, 0.0, "ブレード１", 50},
        {"melee", 0.0, 0.0, 0.0, "格闘パンチ", 50},
        {"other action", 0.0, 0.0, 0.0, "勝利１", 51},
    };
    for (const Row& r : rows) {
        CRobot robot;
        robot.m_actionNames[kActHitStun] = "被弾硬直２";
        robot.m_vp = 50;
        robot.m_groundHeight = r.height;
        robot.m_moveSpeed[0] = r.forward;
        robot.m_moveSpeed[1] = r.side;
        robot.m_currentAction = r.action;
        robot.Tick();
        EXPECT_EQ(robot.m_vp, r.expectVp) << r.what;
    }
}

TEST(RobotTick, GaugesCountersAndDecays) {
    CRobot r;
    r.m_vp = 100;
    r.m_maxVp = 100;
    r.m_vpRegen = 5;
    r.m_ep = 995;
    r.m_framesSinceDamage = 0;
    r.m_sinceDown = 998;
    r.m_stepCounter = 999;
    r.m_invincible = 2;
    r.m_turnRate[0] = r.m_turnRate[1] = r.m_turnRate[2] = 0.3;
    r.m_bank = 1.0f;
    r.Tick();
    EXPECT_EQ(r.m_vp, 100);   // regenerated, then held at the maximum
    EXPECT_EQ(r.m_ep, 1000);  // 995 + 10, held at the maximum
    EXPECT_EQ(r.m_framesSinceDamage, 1);
    EXPECT_EQ(r.m_sinceDown, 999);
    EXPECT_EQ(r.m_stepCounter, 999);
    EXPECT_EQ(r.m_invincible, 1);
    for (double t : r.m_turnRate) EXPECT_EQ(t, 0.0);
    EXPECT_FLOAT_EQ(r.m_bank, 0.9f);
    r.Tick();
    r.Tick();
    EXPECT_EQ(r.m_invincible, 0);  // stops at 0
    EXPECT_EQ(r.m_framesSinceDamage, 3);

    // A draining EP change stops at 0; a maximum below the gauge pulls it down.
    r.m_epPerStep = -40;
    r.m_ep = 30;
    r.Tick();
    EXPECT_EQ(r.m_ep, 0);
    r.Tick();
    EXPECT_EQ(r.m_ep, 0);
    r.m_epPerStep = 0;
    r.m_ep = 500;
    r.m_maxEp = 200;
    r.Tick();
    EXPECT_EQ(r.m_ep, 200);
}

void PlaceRoot(CRobot& r, float x, float y, float z) { r.m_frames[kRootFrame].SetPosition(x, y, z); }

TEST(RobotSeparation, CloseLivingRobotsPushApart) {
    static CRobot robots[3];
    for (CRobot& r : robots) {
        r.m_hp = 100;
        for (double& v : r.m_velocity) v = 0;
    }
    PlaceRoot(robots[0], 0, 0, 0);
    PlaceRoot(robots[1], 0.2f, 0, 0.2f);  // 0.28 away
    PlaceRoot(robots[2], 5, 0, 5);        // far away
    robots[0].m_velocity[1] = -0.3;
    robots[0].SeparateRobots(nullptr, 0, robots, 3);
    robots[1].SeparateRobots(nullptr, 1, robots, 3);
    const double push = double(0.1f);
    EXPECT_EQ(robots[0].m_velocity[0], -push);
    EXPECT_EQ(robots[0].m_velocity[2], -push);
    EXPECT_EQ(robots[0].m_velocity[1], -0.3);  // vertical untouched
    EXPECT_EQ(robots[1].m_velocity[0], push);
    EXPECT_EQ(robots[1].m_velocity[2], push);
    EXPECT_EQ(robots[2].m_velocity[0], 0.0);

    // Same x: a zero difference counts as positive; a destroyed robot pushes nobody.
    for (CRobot& r : robots) r.m_velocity[0] = r.m_velocity[2] = 0;
    PlaceRoot(robots[1], 0, 0, 0.3f);
    robots[0].SeparateRobots(nullptr, 0, robots, 3);
    EXPECT_EQ(robots[0].m_velocity[0], push);
    EXPECT_EQ(robots[0].m_velocity[2], -push);
    robots[0].m_velocity[0] = robots[0].m_velocity[2] = 0;
    robots[1].m_hp = 0;
    robots[0].SeparateRobots(nullptr, 0, robots, 3);
    EXPECT_EQ(robots[0].m_velocity[0], 0.0);
    EXPECT_EQ(robots[0].m_velocity[2], 0.0);
    // Only slots below the count are looked at, and never the own slot.
    robots[1].m_hp = 100;
    robots[0].SeparateRobots(nullptr, 0, robots, 1);
    EXPECT_EQ(robots[0].m_velocity[0], 0.0);
}

// Root at (10, 0, 0); the hand frames sit on it at (1, 0, 0) turned a quarter about Y, so
// their X axis points along world -Z and their Z axis along world +X: moving (a, b, c) along
// their own axes moves (c, b, -a) in the world.
void BuildHierarchy(CRobot& r) {
    const float quarter = 1.5707964f;
    r.m_frames[kRootFrame].SetPosition(10, 0, 0);
    for (int f : {kLeftHandFrame, kRightHandFrame}) {
        r.m_frames[f].m_parent = &r.m_frames[kRootFrame];
        r.m_frames[f].RotateY(quarter);
        r.m_frames[f].SetLocalPosition(1, 0, 0);
    }
    for (int f : {kAuxFrame0, kAuxFrame1}) {
        r.m_frames[f].m_parent = &r.m_frames[kRootFrame];
        r.m_frames[f].SetLocalPosition(0, 1, 0);
    }
    r.m_mountPoints[2] = Vec3(2, 0, 1);  // left-hand muzzle
    r.m_mountPoints[3] = Vec3(1, 2, 3);  // right-hand muzzle
    r.m_mountPoints[6] = Vec3(0, 0, 2);
    r.m_mountPoints[7] = Vec3(0, 0, 3);
}

void ExpectNear(const Vec3& got, const Vec3& want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-5) << what;
    EXPECT_NEAR(got.y, want.y, 1e-5) << what;
    EXPECT_NEAR(got.z, want.z, 1e-5) << what;
}

TEST(RobotMuzzles, EveryMountKindFromItsFrame) {
    const Vec3 tilted(0.000796274f, -0.99999968f, 0);  // (cos 1.57, -sin 1.57, 0): Z turned about X
    struct Row {
        const char* what;
        int mount;
        Vec3 offset;
        float twist;
        Vec3 position, direction;
    };
    const Vec3 d0(0.3f, 0.4f, 0.5f);
    const Row rows[] = {
        {"0: a world position", 0, Vec3(7, 8, 9), 0, Vec3(7, 8, 9), d0},
        {"1: right-hand muzzle", 1, Vec3(5, 5, 5), 0, Vec3(14, 2, -1), d0},
        {"2: left-hand muzzle", 2, Vec3(5, 5, 5), 0, Vec3(12, 0, -2), d0},
        {"3: right muzzle plus offset, tilted", 3, Vec3(0, 0, 1), 0, Vec3(15, 2, -1), tilted},
        {"4: left muzzle plus offset, tilted", 4, Vec3(1, 0, 0), 0, Vec3(12, 0, -3), tilted},
        {"10: the root moved by the offset", 10, Vec3(1, 2, 3), 0, Vec3(11, 2, 3), d0},
        {"14: aux part, untwisted", 14, Vec3(), 0, Vec3(10, 1, 2), Vec3(0, 0, -1)},
        {"15: aux part, twisted a quarter", 15, Vec3(), 1.5707964f, Vec3(13, 1, 0), Vec3(-1, 0, 0)},
        {"99: unknown kinds stay", 99, Vec3(7, 8, 9), 0, Vec3(7, 8, 9), d0},
    };
    for (const Row& r : rows) {
        CRobot robot;
        BuildHierarchy(robot);
        robot.m_twist = r.twist;
        CShotSlot& shot = robot.m_shotSlots.slots[2];
        shot.inUse = true;
        shot.mount = r.mount;
        shot.offset = r.offset;
        shot.direction = d0;
        Mat4 before[kRobotFrameCount];
        for (int f = 0; f < kRobotFrameCount; ++f) before[f] = robot.m_frames[f].m_matrix;
        robot.UpdateMuzzles();
        ExpectNear(shot.offset, r.position, r.what);
        ExpectNear(shot.direction, r.direction, r.what);
        for (int f = 0; f < kRobotFrameCount; ++f)
            EXPECT_EQ(std::memcmp(&before[f], &robot.m_frames[f].m_matrix, sizeof(Mat4)), 0) << r.what << " frame " << f;
        // Slots not in use are never touched.
        EXPECT_EQ(robot.m_shotSlots.slots[0].offset, Vec3(0, 0, 1)) << r.what;
    }
}

TEST(RobotMuzzles, BankTurnsTheAuxMuzzleAndTheRootComesBackExactly) {
    CRobot robot;
    BuildHierarchy(robot);
    robot.m_frames[kRootFrame].RotateY(0.3f);
    robot.m_twist = 0.7f;
    robot.m_bank = 1.5707964f;  // a quarter roll: the part's (0, 1, 0) seat swings to -x
    CShotSlot& shot = robot.m_shotSlots.slots[0];
    shot.inUse = true;
    shot.mount = 14;
    Mat4 root = robot.m_frames[kRootFrame].m_matrix;
    robot.UpdateMuzzles();
    EXPECT_EQ(std::memcmp(&root, &robot.m_frames[kRootFrame].m_matrix, sizeof(Mat4)), 0);
    // The seat's height is gone into the side; the muzzle 2 ahead of the part stays level.
    EXPECT_NEAR(shot.offset.y, 0.0, 1e-5);
    EXPECT_NEAR(GetDistanceVec(shot.offset, Vec3(10, 0, 0)), std::sqrt(5.0), 1e-5);
    EXPECT_NEAR(shot.direction.y, 0.0, 1e-5);
}

}  // namespace
