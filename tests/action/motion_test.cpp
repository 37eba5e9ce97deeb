// Motion of a robot step against a hand-built stage: the overweight rules, steering, gravity
// and fast falls, the axis clamp, floors, walls, ceilings, sinking and falling out of the
// stage, placing on the ground, levelling, the auxiliary parts and the hover rule.
#include "action_helpers.h"
#include "action_rig.h"
#include "robot.h"

#include "math_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct SOverweightCase {
    const char* what;
    int weight;
    int capacity;
    int ep;
    int epAfter;
    double turnFactor;
    double speedFactor;
};

TEST(Motion, OverweightRules) {
    const SOverweightCase cases[] = {
        {"exactly the capacity", 1000, 1000, 100, 100, 1.0, 1.0},
        {"up to 1.2 times: half speed", 1200, 1000, 100, 100, 1.0, 0.5},
        {"up to 1.5 times: half turning too", 1500, 1000, 100, 100, 0.5, 0.5},
        {"over 1.5 times: energy too", 1501, 1000, 100, 95, 0.5, 0.5},
        {"energy never below 0", 1600, 1000, 3, 0, 0.5, 0.5},
    };
    for (const SOverweightCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto r = std::make_unique<CRobot>();
        r->m_partWeights[0] = c.weight / 2;
        r->m_partWeights[3] = c.weight - c.weight / 2;
        r->m_loadCapacity = c.capacity;
        r->m_ep = c.ep;
        r->m_moveState = 3;  // keeps 0.999 of the speeds
        r->m_moveSpeed[0] = -0.2;
        r->m_turnRate[1] = 0.1;
        r->IntegrateMotion(nullptr);
        EXPECT_EQ(r->m_ep, c.epAfter);
        EXPECT_DOUBLE_EQ(r->m_turnRate[1], 0.1 * c.turnFactor);
        EXPECT_DOUBLE_EQ(r->m_moveSpeed[0], -0.2 * c.speedFactor * 0.999);
    }
}

TEST(Motion, SteeringMovesTheVelocityByAtMostOneShareOfTheStat) {
    auto r = std::make_unique<CRobot>();
    r->m_moveState = 1;  // ground damping 0.8: steps of 0.2 x walk speed
    r->m_moveSpeed[0] = -0.1;  // ahead, down -Z
    r->IntegrateMotion(nullptr);
    EXPECT_NEAR(r->m_velocity[2], -0.2 * r->m_walkSpeed, 1e-6);
    EXPECT_NEAR(r->m_velocity[0], 0.0, 1e-7);
    EXPECT_DOUBLE_EQ(r->m_moveSpeed[0], -0.1 * r->m_groundDamping);

    // Close enough: the velocity takes the wanted one exactly. Side speed negative is to the
    // right, which for a robot facing -Z is -X.
    auto s = std::make_unique<CRobot>();
    s->m_moveState = 0;
    s->m_moveSpeed[1] = -0.05;
    s->IntegrateMotion(nullptr);
    EXPECT_NEAR(s->m_velocity[0], -0.05, 1e-6);
    EXPECT_DOUBLE_EQ(s->m_moveSpeed[1], -0.05 * 0.001);
}

struct SVerticalCase {
    const char* what;
    const char* action;
    double groundHeight;
    double vy;
    double vyAfter;
    int moveStateAfter;
};

TEST(Motion, GravityAndFastFalls) {
    const SVerticalCase cases[] = {
        {"aloft gains gravity", "ジャンプ", 1.0, 0.0, -0.02, 2},
        {"on the ground a fall is stopped", "構え", 0.02, -0.3, -0.01, 1},
        {"rising on the ground keeps rising", "構え", 0.0, 0.2, 0.2, 1},
        {"a fast fall ends just above the ground", "ジャンプ", 0.2, -0.4, 0.01 - 0.2, 1},
        {"shooting aloft does not fall faster", "ショット＿マシンガン４", 0.5, -0.05, -0.05, 2},
        {"shooting low falls", "ショット", 0.2, -0.05, -0.07, 1},
    };
    for (const SVerticalCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto r = std::make_unique<CRobot>();
        r->m_currentAction = c.action;
        r->m_groundHeight = c.groundHeight;
        r->m_velocity[1] = c.vy;
        r->IntegrateMotion(nullptr);
        EXPECT_NEAR(r->m_velocity[1], c.vyAfter, 1e-7);
        EXPECT_EQ(r->m_moveState, c.moveStateAfter);
    }
}

TEST(Motion, TurningAndLevelling) {
    auto r = std::make_unique<CRobot>();
    r->m_turnRate[0] = 0.5;  // pitch: decays by a tenth of its slope each step
    r->IntegrateMotion(nullptr);
    const Vec3 z = r->m_frames[kRootFrame].GetLocalAxisZ();
    const Vec3 want = Vec3Normalize(Vec3(0, -std::sin(0.5f) * 0.9f, std::cos(0.5f)));
    EXPECT_NEAR(z.y, want.y, 1e-5f);
    EXPECT_NEAR(z.z, want.z, 1e-5f);
    EXPECT_NEAR(r->m_frames[kRootFrame].GetLocalAxisX().y, 0.0f, 1e-6f);  // no roll

    auto y = std::make_unique<CRobot>();
    y->m_turnRate[1] = 1.5707964;
    y->IntegrateMotion(nullptr);
    EXPECT_NEAR(y->m_frames[kRootFrame].GetLocalAxisZ().x, 1.0f, 1e-6f);
}

struct SClampCase {
    double v;
    double after;
};

TEST(Motion, AxisSpeedsAreClampedAndSmallOnesStop) {
    const SClampCase cases[] = {{0.01, 0.0},  {-0.01, 0.0},  {0.0100001, 0.0100001}, {0.5, 0.45},
                                {-0.5, -0.45}, {0.45, 0.45}, {double(0.01f), 0.0},  {-0.2, -0.2}};
    CMesh mesh;
    C3DObject ground;
    BuildGround(&mesh, &ground, {Floor(-100, -500, -500, 500, 500)});
    for (const SClampCase& c : cases) {
        auto r = std::make_unique<CRobot>();
        RigLegs(*r);
        PlaceAt(*r, 0, 0, 0);
        r->m_velocity[0] = c.v;
        r->ApplyVelocity(&ground);
        EXPECT_DOUBLE_EQ(r->m_velocity[0], c.after) << c.v;
        EXPECT_FLOAT_EQ(RootPosition(*r).x, static_cast<float>(c.after)) << c.v;
    }
}

struct SRobotOnStage : ::testing::Test {
    CMesh mesh;
    C3DObject ground;
    std::unique_ptr<CRobot> r = std::make_unique<CRobot>();
    void SetUp() override {
        BuildArena(&mesh, &ground);
        RigLegs(*r);
    }
};

TEST_F(SRobotOnStage, DroppedRobotLandsAndStays) {
    r->m_actionNames[kActAerialJump] = "ジャンプ２ＡＦＤ";
    PlaceAt(*r, 2, 5, -3);
    StepRobot(*r, &ground);  // its first step starts the stance: it has not measured the ground
    StepRobot(*r, &ground);
    EXPECT_EQ(r->m_currentAction, "ジャンプ２ＡＦＤ");
    int landed = -1;
    for (int step = 2; step < 60 && landed < 0; ++step) {
        StepRobot(*r, &ground);
        if (r->m_currentAction == "硬直２") landed = step;
    }
    // 5 units under gravity -0.02 a step: about 22 steps, the last one cut short so that the
    // foot stops 0.01 above the floor, inside the dead band of the velocity.
    EXPECT_GE(landed, 20);
    EXPECT_LE(landed, 25);
    for (int step = 0; step < 30; ++step) StepRobot(*r, &ground);
    EXPECT_EQ(r->m_currentAction, "構え");
    const Vec3 rest = RootPosition(*r);
    EXPECT_GE(rest.y, 0.0f);
    EXPECT_LE(rest.y, 0.0100001f);
    EXPECT_LE(r->m_groundHeight, 0.0100001);
    EXPECT_FLOAT_EQ(rest.x, 2.0f);
    EXPECT_FLOAT_EQ(rest.z, -3.0f);
    for (int step = 0; step < 60; ++step) {
        StepRobot(*r, &ground);
        ASSERT_EQ(RootPosition(*r).y, rest.y);
        ASSERT_EQ(r->m_velocity[1], 0.0);
        ASSERT_FALSE(r->m_blocked);
    }

    // A slow arrival below the foot snaps the root so that the foot stands exactly on the floor.
    PlaceAt(*r, 2, 0.05f, -3);
    r->m_velocity[1] = -0.08;
    r->m_groundHeight = 0.05;
    r->IntegrateMotion(&ground);
    r->ApplyVelocity(&ground);
    EXPECT_EQ(RootPosition(*r).y, 0.05f);  // its root was under the floor: lifted
    RigLegs(*r, 0.6f);
    r->m_frames[8].SetLocalPosition(0.2f, 0.5f, 0);  // a foot 0.1 below the root
    PlaceAt(*r, 2, 0.15f, -3);
    r->m_velocity[1] = -0.08;
    r->ApplyVelocity(&ground);
    EXPECT_NEAR(RootPosition(*r).y, 0.1f, 1e-6f);
    EXPECT_EQ(r->m_groundHeight, 0.0);
}

struct SWallCase {
    const char* what;
    float x;
    double vx;
    double groundHeight;  // before the step; 0.3 or more counts as aloft
    float y;
    float xAfter;
    double vxAfter;
};

TEST_F(SRobotOnStage, WallsKeepTheirClearance) {
    const SWallCase cases[] = {
        {"running into the +x wall", 9.3f, 0.3, 0, 0, 9.5f, 0.3},
        {"running into the -x wall", -9.3f, -0.3, 0, 0, -9.5f, -0.3},
        {"aloft it bounces", 9.3f, 0.3, 1.0, 3, 9.5f, -0.3},
        {"standing next to a wall is kept out of it", 9.8f, 0.0, 0, 0, 9.5f, 0.0},
        {"far from walls", 5.0f, 0.3, 0, 0, 5.3f, 0.3},
    };
    for (const SWallCase& c : cases) {
        SCOPED_TRACE(c.what);
        PlaceAt(*r, c.x, c.y, 0);
        r->m_velocity[0] = c.vx;
        r->m_velocity[1] = 0;
        r->m_velocity[2] = 0;
        r->m_groundHeight = c.groundHeight;
        r->ApplyVelocity(&ground);
        EXPECT_NEAR(RootPosition(*r).x, c.xAfter, 1e-5f);
        EXPECT_DOUBLE_EQ(r->m_velocity[0], c.vxAfter);
        EXPECT_EQ(r->m_blocked, c.xAfter != static_cast<float>(c.x + c.vx));
    }
}

TEST(MotionStage, CeilingsSinkingAndFallingOut) {
    CMesh mesh;
    C3DObject ground;
    BuildGround(&mesh, &ground, {Floor(0, -5, -5, 5, 5), Ceiling(3, -5, -5, 5, 5), Floor(1, 20, -5, 30, 5)});

    auto r = std::make_unique<CRobot>();
    RigLegs(*r);
    PlaceAt(*r, 0, 2.3f, 0);
    r->m_velocity[1] = 0.3;
    r->ApplyVelocity(&ground);  // 2.6 is 0.4 under the ceiling: pushed down to 2.5
    EXPECT_FLOAT_EQ(RootPosition(*r).y, 2.5f);
    EXPECT_EQ(r->m_velocity[1], 0.0);
    EXPECT_TRUE(r->m_blocked);

    // Sunk into the raised floor: lifted just above it.
    PlaceAt(*r, 25, 0.5f, 0);
    r->m_velocity[1] = 0;
    r->ApplyVelocity(&ground);
    EXPECT_FLOAT_EQ(RootPosition(*r).y, 1.05f);
    EXPECT_DOUBLE_EQ(r->m_groundHeight, 0.05);
    EXPECT_TRUE(r->m_blocked);

    // Aloft over the floor: the clearance of the foot.
    PlaceAt(*r, 0, 1.25f, 0);
    EXPECT_TRUE(r->GroundContact(&ground));
    EXPECT_NEAR(r->m_groundHeight, 1.25, 1e-6);

    // No floor below: no ground, and below -10 the robot stays at -10 losing HP.
    PlaceAt(*r, 12, -9.8f, 0);
    r->m_velocity[1] = -0.3;
    r->m_hp = 25;
    r->ApplyVelocity(&ground);
    EXPECT_FLOAT_EQ(RootPosition(*r).y, -10.0f);
    EXPECT_EQ(r->m_velocity[1], 0.0);
    EXPECT_EQ(r->m_hp, 15);
    EXPECT_EQ(r->m_groundHeight, 1000.0);
    EXPECT_TRUE(r->m_blocked);
    for (int i = 0; i < 3; ++i) {
        r->m_velocity[1] = -0.02;  // gravity of the steps between
        r->ApplyVelocity(&ground);
    }
    EXPECT_EQ(r->m_hp, 0);
    EXPECT_FLOAT_EQ(RootPosition(*r).y, -10.0f);

    // Without any ground object nothing is hit.
    r->ApplyVelocity(nullptr);
    EXPECT_EQ(r->m_groundHeight, 1000.0);
}

TEST(MotionStage, PlaceOnGroundStandsTheLowerFoot) {
    CMesh mesh;
    C3DObject ground;
    BuildGround(&mesh, &ground, {Floor(2, -5, -5, 5, 5)});
    auto r = std::make_unique<CRobot>();
    RigLegs(*r, 0.6f);
    r->m_frames[8].SetLocalPosition(0.2f, 0.4f, 0);  // the left foot hangs 0.2 lower
    EXPECT_NEAR(r->LowestFootHeight(), -0.2f, 1e-6f);
    PlaceAt(*r, 1, 40, 1);
    r->m_groundHeight = 7;
    EXPECT_TRUE(r->PlaceOnGround(&ground));
    EXPECT_NEAR(RootPosition(*r).y, 2.2f, 1e-5f);
    EXPECT_EQ(r->m_groundHeight, 0.0);
    EXPECT_EQ(r->m_frames[8].GetLocalPosition(), Vec3(0.2f, 0.4f, 0));  // the shins are back
    EXPECT_EQ(r->m_frames[8].GetLocalAxisZ(), Vec3(0, 0, 1));

    PlaceAt(*r, 50, 40, 1);
    EXPECT_FALSE(r->PlaceOnGround(&ground));
    EXPECT_FLOAT_EQ(RootPosition(*r).y, 40.0f);
    EXPECT_FALSE(r->PlaceOnGround(nullptr));
}

struct SKickCase {
    int mode;
    float angle;   // current angle before the kicks
    float target;  // target angle before the kicks
    float kickTo;
    int counters[3];  // after each of three kicks
    float targetAfter;
};

TEST(AuxParts, KicksByMode) {
    const SKickCase cases[] = {
        {1, 0.0f, 1.5f, 1.5f, {10, 20, 30}, 0.0f},
        {1, 0.3f, 1.5f, 1.5f, {0, 0, 0}, 0.0f},
        {2, 0.3f, 1.5f, 1.5f, {10, 20, 0}, 0.0f},
        {3, 0.7f, 0.7f, 1.5f, {10, 10, 10}, 1.5f},
        {4, 0.3f, 0.0f, 1.5f, {10, 20, 30}, 1.5f},
        {0, 0.0f, 0.0f, 1.5f, {0, 0, 0}, 0.0f},
    };
    for (const SKickCase& c : cases) {
        for (int frame : {14, 15}) {
            auto r = std::make_unique<CRobot>();
            const int i = frame - 14;
            r->m_auxMode[i] = c.mode;
            r->m_auxSpeed[i] = c.angle;
            r->m_auxTargetSpeed[i] = c.target;
            for (int k = 0; k < 3; ++k) {
                r->KickAuxPart(frame, c.kickTo);
                EXPECT_EQ(r->m_auxCounter[i], c.counters[k]) << "mode " << c.mode << " kick " << k;
            }
            EXPECT_EQ(r->m_auxTargetSpeed[i], c.targetAfter) << "mode " << c.mode;
            EXPECT_EQ(r->m_auxCounter[1 - i], 0);
        }
    }
    auto r = std::make_unique<CRobot>();
    r->m_auxMode[0] = r->m_auxMode[1] = 4;
    r->KickAuxPart(13, 1.5f);
    r->KickAuxPart(16, 1.5f);
    EXPECT_EQ(r->m_auxCounter[0] + r->m_auxCounter[1], 0);
}

struct SDecayCase {
    int mode;
    double vy;
    float target;
};

TEST(AuxParts, DecayTargetsAndSpin) {
    const SDecayCase cases[] = {{1, 0.3, 1.5f},  {2, -0.3, 1.5f}, {3, 0.0, 0.7f}, {4, 0.049, 0.7f},
                                {3, -0.05, 0.0f}, {4, 0.05, 1.5f}, {0, 0.3, 0.25f}};
    for (const SDecayCase& c : cases) {
        auto r = std::make_unique<CRobot>();
        r->m_auxMode[0] = c.mode;
        r->m_auxTargetSpeed[0] = 0.25f;
        r->m_auxCounter[0] = 3;
        r->m_velocity[1] = c.vy;
        r->DecayAuxParts();
        EXPECT_EQ(r->m_auxTargetSpeed[0], c.target) << c.mode << " " << c.vy;
        EXPECT_EQ(r->m_auxCounter[0], 0);
    }

    auto r = std::make_unique<CRobot>();
    r->m_auxMode[0] = 4;
    r->m_auxTargetSpeed[0] = 0.35f;
    r->m_auxCounter[0] = 25;
    const float steps[] = {0.1f, 0.2f, 0.35f, 0.35f};  // 0.1 a step, snapped within 0.11
    for (float want : steps) {
        r->SpinAuxParts();
        EXPECT_FLOAT_EQ(r->m_auxSpeed[0], want);
    }
    // Frame 14 shows the third variant tilted by its angle about its own X axis.
    EXPECT_EQ(r->m_frames[14].m_mesh, &r->m_meshes[15]);
    EXPECT_EQ(r->m_frames[15].m_mesh, &r->m_meshes[16]);
    EXPECT_NEAR(r->m_frames[14].GetLocalAxisZ().y, -std::sin(0.35f), 1e-6f);
}

struct SHoverCase {
    double vy;
    bool direction;
    double after;
};

TEST(Motion, HoverRule) {
    const SHoverCase cases[] = {{0.0, false, 0.005}, {-0.05, false, -0.045}, {-0.3, false, -0.3},
                                {-0.3, true, -0.05}, {0.2, true, 0.205}};
    for (const SHoverCase& c : cases) {
        auto r = std::make_unique<CRobot>();
        r->m_velocity[1] = c.vy;
        if (c.direction) SetInput(*r, kInLeft, kPadHeld);
        r->StepFlightVerticalSpeed();
        EXPECT_NEAR(r->m_velocity[1], c.after, 1e-12) << c.vy;
    }
}

}  // namespace
