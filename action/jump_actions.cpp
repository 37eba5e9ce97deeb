// Jumps and aerial dashes: the crouch, take-off and landing of the standing jump, the crouch
// jump that hands over to the robot type's aerial jump, the aerial jump that steers and hovers
// in flight, and the dashes in the air that hold or sink the robot while they boost.
#include "action_helpers.h"
#include "action_tables.h"
#include "move_blocks.h"
#include "robot.h"

namespace {

void StepJump(CRobot& r) {
    const int frame = r.m_actionFrame;
    UseKeyPoses(r);
    PoseAt(r, frame, 1, "ジャンプ１_10", 10);
    PoseAt(r, frame, 11, "ジャンプ２_30", 10);
    if (frame > 11 && r.m_velocity[1] < 0) r.SetPose("落下_00", 10);
    if (frame == 10) {  // take-off
        PlaySound(r, 1);
        if (IsHeld(r, kInForward)) r.m_moveSpeed[0] = -0.5f;
        if (IsHeld(r, kInBack)) r.m_moveSpeed[0] = 0.5f;
        r.m_velocity[1] = r.m_jumpSpeed;
    }
    LandingCheck(r, 12);
    if (IsHeld(r, kInForward) && frame > 10) r.m_moveSpeed[0] = -r.m_walkSpeed;
    if (IsHeld(r, kInBack) && frame > 20) r.m_moveSpeed[0] = r.m_walkSpeed;
    QueueWeaponChain(r);
    if (IsHeld(r, kInRight)) r.m_moveSpeed[1] = -r.m_walkSpeed;
    if (IsHeld(r, kInLeft)) r.m_moveSpeed[1] = r.m_walkSpeed;
    r.ApplyTurnInput(0.5f);
    r.m_moveState = 3;
    EndStep(r);
}

// Crouches while the button is held (at most ten steps), then takes off into the aerial jump.
void StepCrouchJump(CRobot& r) {
    const int frame = r.m_actionFrame;
    UseKeyPoses(r);
    PoseAt(r, frame, 1, "ジャンプ１_10", 10);
    TwistFromDirections(r);
    LatchTwist(r, frame == 1);
    QueueWeaponChain(r);
    r.m_moveState = 3;
    if (AnyDirectionPressed(r)) QueueSlot(r, kActDash);
    if (frame == 10 || !IsHeld(r, kInBoost)) {
        PlaySound(r, 1);
        r.m_velocity[1] = r.m_jumpSpeed;
        QueueSlot(r, kActAerialJump);
    }
    EndStep(r);
}

void StepAerialJump(CRobot& r, int latch, const char* airDash) {
    UseKeyPoses(r);
    PoseAt(r, r.m_actionFrame, 1, "ジャンプ２_30", 10);
    if (r.m_velocity[1] < 0) r.SetPose("落下_00", 10);
    if (latch) {
        TwistFromDirections(r);
        LatchTwist(r, r.m_actionFrame == 1);
    }
    FreeSpeed(r, r.m_walkSpeed);
    r.ApplyTurnInput(0.9f);
    r.StepFlightVerticalSpeed();
    if (IsFreshPress(r, kInBoost) && r.m_velocity[1] > 0 && AnyDirectionHeld(r)) r.SetNextAction(airDash);
    QueueWeaponChain(r);
    EndStep(r);
}

void StepAerialJumpAfd(CRobot& r) { StepAerialJump(r, 1, "空中ダッシュ"); }
void StepAerialJumpH21(CRobot& r) { StepAerialJump(r, 0, "h21_空中ダッシュ"); }

struct SAirDash {
    const char* pose;
    int endFrame;      // the stance is queued at this frame
    int sink;          // 1: sinks slowly with no frame limit; 0: holds its height up to frame 200
};

void StepAirDash(CRobot& r, const SAirDash& d) {
    const int frame = r.m_actionFrame;
    UseKeyPoses(r);
    PoseAt(r, frame, 1, d.pose, 5);
    TwistFromDirections(r);
    LatchTwist(r, frame == 1);
    LatchedSpeed(r, r.m_dashSpeed);
    r.m_moveState = 1;
    if (frame == 1) PlaySound(r, 0);
    DashEffects(r);
    r.ApplyTurnInput(0.03f);
    if (!QueueWeaponChain(r) && !AnyDirectionHeld(r)) QueueSlot(r, kActStance);
    if (frame == d.endFrame) QueueSlot(r, kActStance);
    if (r.m_groundHeight > kOffGround) {
        if (d.sink) r.m_velocity[1] = -0.02f;
        else if (frame <= 200) r.m_velocity[1] = 0;
    }
    EndStepState1(r);
}

const SAirDash kAirDash = {"ダッシュ(空中", 30, 0};
const SAirDash kAirDashH21 = {"h21_空中ダッシュ_10", 20, 1};

void StepAirDashStd(CRobot& r) { StepAirDash(r, kAirDash); }
void StepAirDashH21(CRobot& r) { StepAirDash(r, kAirDashH21); }

// A rising dash on side boosters: a fixed speed, energy every step, no hover and no way out
// but back into the aerial jump.
void StepAirDash3(CRobot& r) {
    const int frame = r.m_actionFrame;
    UseKeyPoses(r);
    PoseAt(r, frame, 1, "ダッシュ(空中", 5);
    TwistFromDirections(r);
    LatchTwist(r, frame == 1);
    LatchedSpeed(r, 0.4f);
    r.m_moveState = frame < 5 ? 1 : 2;
    if (frame == 1) {
        PlaySound(r, 0);
        FireTurnedEffect(r, "ダッシュ２", r.m_twistTarget, 1);
    }
    r.m_velocity[1] += 0.015f;
    FireTurnedEffect(r, frame % 2 == 0 ? "ブースト（右" : "ブースト（左", r.m_twist, 1);
    r.UseEnergy(100);
    r.ApplyTurnInput(0.3f);
    if (frame >= 15) QueueSlot(r, kActAerialJump);
    EndStepState1(r);
}

const SActionScript kRows[] = {
    {"ジャンプ", kGroupMove, StepJump},
    {"ジャンプ２", kGroupMove, StepCrouchJump},
    {"ジャンプ２ＡＦＤ", kGroupMove, StepAerialJumpAfd},
    {"h21_ジャンプ２ＡＦＤ", kGroupMove, StepAerialJumpH21},
    {"空中ダッシュ", kGroupMove, StepAirDashStd},
    {"h21_空中ダッシュ", kGroupMove, StepAirDashH21},
    {"空中ダッシュ３", kGroupMove, StepAirDash3},
};

}  // namespace

SActionTable GetJumpActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
