// Lock-on assistance and aiming: which turn input the tracking presses, how a fresh turn stops
// at the target's bearing, the lock-on button and hand turning, the front cone, and the
// directions toward a target (none, on the robot, moving).
#include "action_helpers.h"
#include "action_rig.h"
#include "robot.h"

#include "math_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// The robot at the origin facing -Z with the lock-on of every set-up robot, and a target.
struct STrackRig {
    std::unique_ptr<CRobot> robot = std::make_unique<CRobot>();
    std::unique_ptr<CRobot> target = std::make_unique<CRobot>();
    STrackRig(float x, float y, float z) {
        robot->m_trackStyle = 11;
        robot->m_target = target.get();
        PlaceAt(*target, x, y, z);
    }
};

struct STrackCase {
    const char* what;
    Vec3 at;
    int pressed;  // the turn input pressed by the tracking, -1 none
};

TEST(TargetTracking, PressesTheTurnTowardTheTarget) {
    const STrackCase cases[] = {
        {"straight ahead", Vec3(0, 0, -5), -1},
        {"ahead on the left (x > 0)", Vec3(2, 0, -5), kInTurnLeft},
        {"ahead on the right", Vec3(-2, 0, -5), kInTurnRight},
        {"straight behind turns right", Vec3(0, 0, 5), kInTurnRight},
        {"behind on the left", Vec3(0.01f, 0, 5), kInTurnLeft},
        {"straight above: no bearing, no turn", Vec3(0, 7, 0), -1},
        {"on the robot itself", Vec3(0, 0, 0), -1},
    };
    for (const STrackCase& c : cases) {
        SCOPED_TRACE(c.what);
        STrackRig rig(c.at.x, c.at.y, c.at.z);
        rig.robot->TrackTarget();
        for (int k : {kInTurnRight, kInTurnLeft}) {
            EXPECT_EQ(rig.robot->m_input[k], k == c.pressed);
            EXPECT_EQ(rig.robot->m_padState[k], k == c.pressed ? kPadPressed : kPadUp);
        }
        EXPECT_TRUE(rig.robot->m_lockOn);
        EXPECT_FALSE(rig.robot->m_nextTargetRequest);
    }
}

TEST(TargetTracking, FreshTurnStopsAtTheBearing) {
    // Bearing -0.05 (to the left, ahead), turn speed 0.2: the first yaw is -0.05, not -0.2.
    STrackRig rig(10 * std::sin(0.05f), 0, -10 * std::cos(0.05f));
    rig.robot->m_turnSpeed = double(0.2f);
    rig.robot->TrackTarget();
    EXPECT_TRUE(rig.robot->ApplyTurnInput(1.0f));
    EXPECT_NEAR(rig.robot->m_turnRate[1], -0.05, 1e-4);

    // Held (not fresh), the turn is not limited and the result says whether it faces the target.
    SetInput(*rig.robot, kInTurnLeft, kPadHeld);
    EXPECT_FALSE(rig.robot->ApplyTurnInput(1.0f));
    EXPECT_DOUBLE_EQ(rig.robot->m_turnRate[1], -double(0.2f));

    // Straight ahead: a fresh press gives no turn at all.
    STrackRig ahead(0, 0, -8);
    SetInput(*ahead.robot, kInTurnRight, kPadPressed);
    EXPECT_TRUE(ahead.robot->ApplyTurnInput(2.0f));
    EXPECT_EQ(ahead.robot->m_turnRate[1], 0.0);

    // Behind: no clamp.
    STrackRig behind(0, 0, 8);
    behind.robot->TrackTarget();
    EXPECT_FALSE(behind.robot->ApplyTurnInput(1.0f));
    EXPECT_DOUBLE_EQ(behind.robot->m_turnRate[1], behind.robot->m_turnSpeed);

    // A turn away from a target in front is left alone.
    STrackRig left(3, 0, -5);
    SetInput(*left.robot, kInTurnRight, kPadPressed);
    EXPECT_FALSE(left.robot->ApplyTurnInput(1.0f));
    EXPECT_DOUBLE_EQ(left.robot->m_turnRate[1], left.robot->m_turnSpeed);

    // No target: the inputs still turn, the result is false.
    auto lone = std::make_unique<CRobot>();
    SetInput(*lone, kInTurnLeft, kPadPressed);
    EXPECT_FALSE(lone->ApplyTurnInput(0.5f));
    EXPECT_DOUBLE_EQ(lone->m_turnRate[1], -0.5f * lone->m_turnSpeed);
}

TEST(TargetTracking, LockOnButtonHandTurningAndDeadTargets) {
    STrackRig rig(3, 0, -5);
    SetInput(*rig.robot, kInTurnRight, kPadHeld);
    rig.robot->TrackTarget();
    EXPECT_FALSE(rig.robot->m_lockOn);  // turning by hand, in this very step
    EXPECT_FALSE(rig.robot->m_input[kInTurnLeft]);

    ClearInputs(*rig.robot);
    SetInput(*rig.robot, kInLockOn, kPadPressed);
    rig.robot->TrackTarget();
    EXPECT_TRUE(rig.robot->m_lockOn);
    EXPECT_FALSE(rig.robot->m_nextTargetRequest);
    EXPECT_TRUE(rig.robot->m_input[kInTurnLeft]);  // tracking at once
    ClearInputs(*rig.robot);  // the pad step rewrites the inputs every step
    SetInput(*rig.robot, kInLockOn, kPadHeld);  // held is no press
    rig.robot->TrackTarget();
    EXPECT_FALSE(rig.robot->m_nextTargetRequest);
    ClearInputs(*rig.robot);
    SetInput(*rig.robot, kInLockOn, kPadPressed);
    rig.robot->TrackTarget();
    EXPECT_TRUE(rig.robot->m_nextTargetRequest);

    // A dead target asks for another in every step, whatever the tracking style.
    rig.robot->m_trackStyle = 10;
    ClearInputs(*rig.robot);
    rig.target->m_hp = 0;
    for (int i = 0; i < 3; ++i) {
        rig.robot->m_nextTargetRequest = false;
        rig.robot->TrackTarget();
        EXPECT_TRUE(rig.robot->m_nextTargetRequest);
    }
    EXPECT_FALSE(rig.robot->m_input[kInTurnLeft]);  // style 10 presses nothing

    auto lone = std::make_unique<CRobot>();
    lone->m_trackStyle = 11;
    lone->TrackTarget();  // no target: nothing happens
    EXPECT_FALSE(lone->m_nextTargetRequest);
    EXPECT_FALSE(lone->IsTargetInFront());
}

struct SFrontCase {
    Vec3 at;
    bool inFront;
};

TEST(TargetTracking, FrontConeBoundaries) {
    const SFrontCase cases[] = {
        {Vec3(0, 0, -19.9f), true}, {Vec3(0, 0, -20), false}, {Vec3(0, 0, -25), false},
        {Vec3(3, 0, 0), false},     {Vec3(0, 0, 2), false},   {Vec3(8.9f, 0, -10), true},
        {Vec3(-8.9f, 5, -10), true}, {Vec3(9.2f, 0, -10), false}, {Vec3(0, 0, 0), false},
    };
    for (const SFrontCase& c : cases) {
        STrackRig rig(c.at.x, c.at.y, c.at.z);
        EXPECT_EQ(rig.robot->IsTargetInFront(), c.inFront) << c.at.x << " " << c.at.y << " " << c.at.z;
    }
}

TEST(TargetTracking, DirectionsAreUnitAndFinite) {
    auto lone = std::make_unique<CRobot>();
    lone->m_frames[kRootFrame].RotateY(1.5707964f);
    EXPECT_EQ(lone->DirectionToTarget(), Vec3(0, 0, -1));  // no target: world -Z
    EXPECT_EQ(lone->DirectionToTargetLeading(1.0f), Vec3(0, 0, -1));

    STrackRig rig(3, 4, 0);
    const Vec3 d = rig.robot->DirectionToTarget();
    EXPECT_NEAR(d.x, 0.6f, 1e-6f);
    EXPECT_NEAR(d.y, 0.8f, 1e-6f);

    // Standing on the robot: the robot's facing, never NaN.
    STrackRig same(0, 0, 0);
    same.robot->m_frames[kRootFrame].RotateY(1.5707964f);
    const Vec3 f = same.robot->DirectionToTarget();
    EXPECT_NEAR(f.x, -1.0f, 1e-6f);
    EXPECT_NEAR(f.z, 0.0f, 1e-6f);

    // Leading: a target 10 away moving 0.1 a step, a shot of speed 1: aimed 1 unit ahead of it.
    STrackRig moving(0, 0, -10);
    moving.target->m_velocity[0] = 0.1;
    const Vec3 lead = moving.robot->DirectionToTargetLeading(1.0f);
    const Vec3 want = Vec3Normalize(Vec3(1, 0, -10));
    EXPECT_NEAR(lead.x, want.x, 1e-5f);
    EXPECT_NEAR(lead.z, want.z, 1e-5f);
    // A shot without speed is aimed where the target stands.
    const Vec3 still = moving.robot->DirectionToTargetLeading(0.0f);
    EXPECT_NEAR(still.x, 0.0f, 1e-6f);
    EXPECT_NEAR(still.z, -1.0f, 1e-6f);
    // A lead that lands on the robot itself falls back to the facing.
    STrackRig back(0, 0, -10);
    back.target->m_velocity[2] = 1.0;
    const Vec3 b = back.robot->DirectionToTargetLeading(1.0f);
    EXPECT_TRUE(std::isfinite(b.x) && std::isfinite(b.y) && std::isfinite(b.z));
    EXPECT_NEAR(Vec3Length(b), 1.0f, 1e-5f);
}

}  // namespace
