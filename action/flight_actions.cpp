// Type 31's transformation and its three flight modes: the cruise (hovering, steered by the
// directions, a laser, a switch into the ram and a landing), the ram attack that charges the
// target in front, and the boost dash that keeps the direction chosen at its start.
#include "action_helpers.h"
#include "action_tables.h"
#include "move_blocks.h"
#include "request_forms.h"
#include "robot.h"

namespace {

const char* const kCruise = "飛行31";
const char* const kRam = "飛行31_特攻";
const char* const kBoostDash = "飛行31_ダッシュ";

// Single-precision constants of the scripts, widened where they land in double fields.
constexpr double kPitchRate = 0.05f;
constexpr double kClimb = 0.01f;
constexpr double kCruiseYawShare = 0.5f;
constexpr double kCruiseSteerSpeed = -0.2f;  // forward while a direction is held
constexpr double kCruiseBoostSpeed = -0.4f;
constexpr double kCruiseSpeed = -0.25f;
constexpr double kRamSpeed = -0.4f;
constexpr double kRamClimb = 0.05f;
constexpr double kBoostDashSpeed = 0.4f;
constexpr float kRamAimLimit = 0.5f;

constexpr int kLaserCost = 90;
constexpr int kRamCost = 500;
constexpr int kBoostDashCost = 100;

constexpr int kLandingStep = 300;  // the cruise's landing poses start here
constexpr int kCruiseEnd = 310;

const SPoseKey kCruiseKeys[] = {{1, "h31飛行モード_10", 3},  {4, "h31飛行モード_20", 5}, {9, "h31飛行モード_30", 5},
                                {300, "h31飛行モード_20", 7}, {307, "h31飛行モード_10", 3}};
const SPoseKey kChargeKeys[] = {{1, "h31飛行モード_10", 3}, {4, "h31飛行モード_20", 5}, {9, "h31飛行モード_30", 5},
                                {40, "h31飛行モード_20", 7}, {47, "h31飛行モード_10", 3}};

// The back-weapon action of type 31: one step that picks the flight mode.
void StepTransform(CRobot& r) {
    UseKeyPoses(r);
    r.m_moveState = 3;
    if (NameContains(r.m_previousAction, "ダッシュ")) r.SetNextAction(kBoostDash);
    else if (r.m_groundHeight < kOffGround || r.m_velocity[1] > 0) r.SetNextAction(IsHeld(r, kInBoost) ? kCruise : kRam);
    else QueueSlot(r, kActStagger);
    EndStep(r);
}

void StepCruise(CRobot& r) {
    UseKeyPoses(r);
    PoseKeys(r, r.m_actionFrame, kCruiseKeys, CountOf(kCruiseKeys));
    FireBurst(r, "ブースト", kRootFrame);
    HoverStep(r);
    if (IsHeld(r, kInForward)) {
        r.m_turnRate[0] = kPitchRate;
        r.m_velocity[1] += kClimb;
    }
    if (IsHeld(r, kInBack)) {
        r.m_turnRate[0] = -kPitchRate;
        r.m_velocity[1] -= kClimb;
    }
    if (IsHeld(r, kInRight)) r.m_turnRate[1] = kCruiseYawShare * r.m_turnSpeed;
    if (IsHeld(r, kInLeft)) r.m_turnRate[1] = -kCruiseYawShare * r.m_turnSpeed;
    r.m_moveState = 1;
    if (AnyDirectionHeld(r)) r.m_moveSpeed[0] = kCruiseSteerSpeed;
    else if (IsHeld(r, kInBoost)) r.m_moveSpeed[0] = kCruiseBoostSpeed;
    else r.m_moveSpeed[0] = kCruiseSpeed;
    const int boost = IsHeld(r, kInBoost);
    if (IsHeld(r, kInRightWeapon) && !boost) {
        // The laser goes out even when the payment failed and queued the stagger.
        r.UseEnergy(kLaserCost);
        r.FireWeapon("レーザー", 10, Vec3(0, 0, -0.5f), AimedAt(r, 0));
    } else if (IsHeld(r, kInBackWeapon) && !boost) {
        // Straight into the ram's step 9 without a switch: the previous action stays as it was.
        r.m_currentAction = kRam;
        r.m_actionFrame = 8;
    } else if (IsHeld(r, kInLeftWeapon)) {
        r.m_actionFrame = kLandingStep - 1;
    }
    r.m_bank += static_cast<float>(r.m_turnRate[1]);
    if (r.m_actionFrame == kCruiseEnd) QueueSlot(r, kActStagger);
    if (r.m_blocked) QueueSlot(r, kActStagger);
    EndStep(r);
}

void StepRam(CRobot& r) {
    const int step = r.m_actionFrame;
    UseKeyPoses(r);
    PoseKeys(r, step, kChargeKeys, CountOf(kChargeKeys));
    FireBurst(r, "ブースト", 1);
    HoverStep(r);
    r.m_moveState = 1;
    r.UseEnergy(r.m_epPerStep);
    if (step == 10) r.UseEnergy(kRamCost);
    if (r.IsTargetInFront()) {
        const float y = r.DirectionToTarget().y;
        if (y > kRamAimLimit) r.m_velocity[1] += kRamClimb;
        else if (y < -kRamAimLimit) r.m_velocity[1] -= kRamClimb;
    }
    if (step < 15) {
        r.m_moveSpeed[0] = 0;
    } else if (step <= 40) {
        r.ApplyTurnInput(1.0f);
        r.m_moveSpeed[0] = kRamSpeed;
        FireRootMuzzleShot(r, "格闘_突撃");
    } else if (step <= 50) {
        r.m_moveSpeed[0] = 0;
    } else {
        QueueSlot(r, kActStagger);
    }
    r.m_bank += static_cast<float>(r.m_turnRate[1]);
    if (r.m_blocked) QueueSlot(r, kActStagger);
    EndStep(r);
}

void StepBoostDash(CRobot& r) {
    const int step = r.m_actionFrame;
    UseKeyPoses(r);
    PoseKeys(r, step, kChargeKeys, CountOf(kChargeKeys));
    if (step == 1) PlaySound(r, 0);
    TwistFromDirections(r);
    LatchTwist(r, step == 1);
    LatchedSpeed(r, kBoostDashSpeed);
    if (step < 15) {
        r.m_moveSpeed[0] = r.m_moveSpeed[1] = 0;
        r.m_moveState = 2;
    } else if (step < 20) {
        r.m_moveState = 0;
    } else if (step <= 40) {
        r.m_moveState = 2;
        if (IsHeld(r, kInRightWeapon)) QueueSlot(r, kActRightHand);
        if (IsHeld(r, kInLeftWeapon)) QueueSlot(r, kActLeftHand);
    } else {
        r.m_moveSpeed[0] = r.m_moveSpeed[1] = 0;
        r.m_moveState = 1;
    }
    if (step == 15) FireTurnedEffect(r, "ダッシュ２", r.m_twistTarget, 0);
    if (step % 2 == 1) FireTurnedEffect(r, "ブースト", r.m_twist, 0);
    r.UseEnergy(r.m_epPerStep);
    if (step == 3) r.UseEnergy(kBoostDashCost);
    r.ApplyTurnInput(0);
    HoverStep(r);
    if (r.m_blocked) QueueSlot(r, kActStagger);
    if (step >= 50) QueueSlot(r, kActStance);
    EndStepState1(r);
}

const SActionScript kRows[] = {
    {"ショット＿変形31", kGroupFlight, StepTransform},
    {kCruise, kGroupFlight, StepCruise},
    {kRam, kGroupFlight, StepRam},
    {kBoostDash, kGroupFlight, StepBoostDash},
};

}  // namespace

SActionTable GetFlightActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
