// The long sword and the curse: the sword selector with its six cuts and thrusts, and the curse
// selector with its shot that climbs from the hand and falls back onto the target. Each cut is
// the common weapon step with its own frames.
#include "action_helpers.h"
#include "action_tables.h"
#include "robot.h"
#include "weapon_step.h"

namespace {

const char* const kSword = "刀_1";
constexpr int kSwordMount = 1;
constexpr float kSideHeld = 1.57f;  // the sidestep cut's stored side, compared exactly

int Frame(const CRobot& r) { return r.m_actionFrame; }

// Boost with any direction breaks a cut off into the robot's dash.
void DashCancel(CRobot& r) {
    if (!IsHeld(r, kInBoost)) return;
    if (IsHeld(r, kInForward) || IsHeld(r, kInBack) || IsHeld(r, kInLeft) || IsHeld(r, kInRight))
        QueueSlot(r, kActDash);
}

void Stand(CRobot& r, double forward) {
    r.m_moveState = 0;
    r.m_moveSpeed[0] = forward;
    r.m_moveSpeed[1] = 0;
}

// ---- Selectors ----

void StepSwordSelector(CRobot& r) {
    const char* next = "h35_ブレード_切り下ろし1";
    if (r.m_velocity[1] > 0) next = "h35_ブレード_対地1";
    else if (IsHeld(r, kInBoost)) next = "h35_ブレード_振り下ろし1";
    else if (IsHeld(r, kInRight) || IsHeld(r, kInLeft)) next = "h35_ブレード_回り込み切り下ろし1";
    else if (IsHeld(r, kInForward)) next = "h35_ブレード_突き1";
    else if (IsHeld(r, kInBack)) next = "h35_ブレード_対空1";
    Select(r, next, 1);
}

void StepCurseSelector(CRobot& r) { Select(r, "h35_ショット_呪い", 1); }

// ---- Cuts ----

const SPoseKey kThrustKeys[] = {{1, "h35_突き1_18", 9},  {10, "h35_突き1_20", 1}, {11, "h35_突き1_30", 5},
                                {16, "h35_突き1_33", 1}, {17, "h35_突き1_47", 7}, {24, "h35_突き1_50", 2},
                                {26, "h35_突き1_53", 1}, {27, "h35_突き1_50", 50}};
void StepThrust(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kThrustKeys);
    AttackTurnIn(r, 0, 11, 0.5f);
    AttackTurnIn(r, 16, 24, 0.0f);
    r.m_moveState = 1;
    if (InFrames(r, 0, 11)) {
        r.m_moveSpeed[0] = 0;
        DashCancel(r);
    } else if (InFrames(r, 16, 24)) {
        r.m_moveSpeed[0] = -0.4f;
    }
    PerStepCost(r);
    LumpAt(r, 10, 500);
    if (InFrames(r, 16, 27)) MountRequest(r, kSword, kSwordMount);
    EndAt(r, 28);
    EndStep(r);
}

const SPoseKey kSwingKeys[] = {{1, "h35_振り下ろし1_15", 7},  {8, "h35_振り下ろし1_21", 3},
                               {11, "h35_振り下ろし1_31", 5}, {16, "h35_振り下ろし1_36", 3},
                               {19, "h35_振り下ろし1_45", 4}, {23, "h35_振り下ろし1_36", 50}};
void StepSwingDown(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kSwingKeys);
    AttackTurnIn(r, 1, 11, 1.0f);
    if (InFrames(r, 1, 11)) {
        Stand(r, 0);
    } else if (InFrames(r, 12, 25)) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.2f;
        r.m_velocity[1] = 0;
    }
    PerStepCost(r);
    LumpAt(r, 15, 300);
    if (InFrames(r, 12, 25)) MountRequest(r, kSword, kSwordMount);
    EndAt(r, 41);
    EndStep(r);
}

const SPoseKey kCutKeys[] = {{1, "h35_切り下ろし1_10", 5},
                             {6, "h35_切り下ろし1_17", 3},
                             {9, "h35_切り下ろし1_30", 7},
                             {16, "h35_切り下ろし1_17", 50}};
void StepCutDown(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kCutKeys);
    AttackTurnIn(r, 1, 9, 0.0f);
    if (InFrames(r, 1, 9)) {
        Stand(r, -0.2f);
    } else if (InFrames(r, 10, 16)) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = 0;
        r.m_velocity[1] = 0;
    }
    DashCancel(r);
    PerStepCost(r);
    LumpAt(r, 15, 200);
    if (InFrames(r, 10, 16)) MountRequest(r, kSword, kSwordMount);
    EndAt(r, 31);
    EndStep(r);
}

// The side is read once, at frame 1, so letting go of the direction does not stop the slide.
const SPoseKey kSidestepKeys[] = {{1, "h35_切り下ろし1_10", 5},
                                  {6, "h35_切り下ろし1_17", 3},
                                  {19, "h35_切り下ろし1_30", 7},
                                  {26, "h35_切り下ろし1_17", 50}};
void StepSidestepCut(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kSidestepKeys);
    if (Frame(r) == 1) r.m_heldTwist = IsHeld(r, kInRight) ? kSideHeld : IsHeld(r, kInLeft) ? -kSideHeld : 0.0f;
    PerStepCost(r);
    LumpAt(r, 15, 200);
    if (InFrames(r, 1, 19)) {
        AttackTurn(r, 1.9f);
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.1f;
        r.m_velocity[1] = -0.2f;
        const float side = r.m_heldTwist;
        r.m_moveSpeed[1] = side == kSideHeld ? -r.m_walkSpeed : side == -kSideHeld ? r.m_walkSpeed : 0.0;
    } else if (InFrames(r, 20, 26)) {
        Stand(r, 0);
        MountRequest(r, kSword, kSwordMount);
    }
    if (Frame(r) <= 19) DashCancel(r);
    EndAt(r, 41);
    EndStep(r);
}

const SPoseKey kRisingKeys[] = {{1, "h35_対空1_16", 8},  {9, "h35_対空1_20", 2},  {11, "h35_対空1_30", 5},
                                {16, "h35_対空1_40", 5}, {21, "h35_対空1_50", 5}, {26, "h35_対空1_40", 50}};
void StepRisingCut(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kRisingKeys);
    AttackTurn(r, 1.0f);
    if (InFrames(r, 1, 8)) {
        Stand(r, 0.2f);
        DashCancel(r);
    } else if (InFrames(r, 11, 15)) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.3f;
    } else if (InFrames(r, 16, 21)) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.1;  // a double constant, unlike its neighbours
        r.m_velocity[1] = 0.3f;
    }
    PerStepCost(r);
    LumpAt(r, 15, 200);
    if (InFrames(r, 16, 21)) MountRequest(r, kSword, kSwordMount);
    EndAt(r, 26);
    EndStep(r);
}

const SPoseKey kFallingKeys[] = {{1, "h35_対地1_10", 7}, {8, "h35_対地1_30", 30}};
void StepFallingCut(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kFallingKeys);
    AttackTurn(r, 1.0f);
    if (InFrames(r, 1, 7)) {
        Stand(r, 0);
        r.m_velocity[1] = 0.3f;
    } else if (InFrames(r, 8, 20)) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.15f;
        r.m_velocity[1] = -0.3f;
    }
    PerStepCost(r);
    LumpAt(r, 15, 200);
    if (InFrames(r, 8, 20)) MountRequest(r, kSword, kSwordMount);
    EndAt(r, 26);
    EndStep(r);
}

// ---- The curse ----

const SPoseKey kCurseKeys[] = {{1, "h35_呪い_10", 5},  {6, "h35_呪い_20", 5},  {11, "h35_呪い_10", 5},
                               {16, "h35_呪い_20", 5}, {21, "h35_呪い_10", 5}, {26, "h35_呪い_20", 5},
                               {31, "h35_呪い_10", 5}, {36, "h35_呪い_20", 5}, {41, "h35_呪い_30", 5}};
constexpr float kCurseDropHeight = 13.0f;

// Up out of the hand, then down onto the target's head. With nobody to fall on, the falling
// half is not made: there is no position to drop it at.
void StepCurse(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kCurseKeys);
    r.m_moveState = 0;
    if (InFrames(r, 46, 48)) {
        r.FireWeapon("レーザー", 1, Vec3(0, 0, 0), Vec3(0, 1.0f, 0.001f));
    } else if (InFrames(r, 58, 61) && r.m_target) {
        const Vec3 above = r.m_target->m_frames[kRootFrame].GetWorldPosition() + Vec3(0, kCurseDropHeight, 0);
        r.FireWeaponAt("レーザーslow", above, Vec3(0, -1.0f, 0.001f));
    }
    EndAt(r, 62);
    EndStep(r);
}

constexpr int Chain(int k) { return kGroupSwordFirst + k - 1; }

const SActionScript kRows[] = {
    {"ブレード_村雨", Chain(1), StepSwordSelector},
    {"h35_ブレード_突き1", Chain(2), StepThrust},
    {"h35_ブレード_振り下ろし1", Chain(2), StepSwingDown},
    {"h35_ブレード_切り下ろし1", Chain(2), StepCutDown},
    {"h35_ブレード_回り込み切り下ろし1", Chain(2), StepSidestepCut},
    {"h35_ブレード_対空1", Chain(2), StepRisingCut},
    {"h35_ブレード_対地1", Chain(2), StepFallingCut},
    {"ショット_呪文", Chain(3), StepCurseSelector},
    {"h35_ショット_呪い", Chain(4), StepCurse},
};

}  // namespace

SActionTable GetSwordActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
