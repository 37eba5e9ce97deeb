// Walking: the key-pose walks of every robot type, and the angle-mode dash that steps like a
// walk. Each walk is its pose loop, its footsteps and its turn factor on one shared step.
#include "action_helpers.h"
#include "action_tables.h"
#include "move_blocks.h"
#include "robot.h"

namespace {

struct SWalk {
    int period;             // pose loop length
    const SPoseKey* keys;
    int keyCount;
    const double* gait;     // per key, the speed factor kept in parameter 0 (null: none)
    int footstepPeriod;     // 0: silent
    double turnFactor;      // below 0: the robot's walk turn factor
};

constexpr double kOwnTurnFactor = -1;

// A walk ends in the dash, a weapon action or the stance, in this priority.
void QueueWalkFollowUps(CRobot& r) {
    if (IsHeld(r, kInBoost)) QueueSlot(r, kActDash);
    if (IsHeld(r, kInRightWeapon)) QueueSlot(r, kActRightHand);
    if (IsHeld(r, kInBackWeapon)) QueueSlot(r, kActBack);
    if (IsHeld(r, kInLeftWeapon)) QueueSlot(r, kActLeftHand);
    if (!AnyDirectionHeld(r)) QueueSlot(r, kActStance);
}

void StepWalk(CRobot& r, const SWalk& w) {
    UseKeyPoses(r);
    const int phase = r.m_actionFrame % w.period;
    for (int i = 0; i < w.keyCount; ++i) {
        if (phase != w.keys[i].frame) continue;
        r.SetPose(w.keys[i].pose, w.keys[i].frames);
        if (w.gait) r.m_actionParam[0] = w.gait[i];
    }
    Footsteps(r, w.footstepPeriod);
    TwistFromDirections(r);
    WalkSpeed(r, r.m_walkSpeed);
    if (w.gait) {
        r.m_moveSpeed[0] *= r.m_actionParam[0];
        r.m_moveSpeed[1] *= r.m_actionParam[0];
    }
    r.ApplyTurnInput(static_cast<float>(w.turnFactor < 0 ? r.m_walkTurnFactor : w.turnFactor));
    QueueWalkFollowUps(r);
    r.m_moveState = 1;
    EndStep(r);
}

// "歩行４" restarts its own frame count every 20 steps and slows down while turning.
const SPoseKey kWalk4Keys[] = {{1, "歩行２_15", 5}, {6, "歩行２_30", 5}, {11, "歩行２_45", 5}, {16, "歩行２_60", 5}};

void StepWalk4(CRobot& r) {
    UseKeyPoses(r);
    PoseKeys(r, r.m_actionFrame, kWalk4Keys, CountOf(kWalk4Keys));
    if (r.m_actionFrame >= 20) r.m_actionFrame = 0;
    Footsteps(r, 10);
    TwistFromDirections(r);
    WalkSpeed(r, r.m_walkSpeed);
    r.ApplyTurnInput(0.4f);
    if (IsHeld(r, kInTurnRight) || IsHeld(r, kInTurnLeft)) {
        r.m_moveSpeed[0] *= 0.5;
        r.m_moveSpeed[1] *= 0.5;
    }
    QueueWalkFollowUps(r);
    r.m_moveState = 1;
    EndStep(r);
}

const SPoseKey kWalk6Keys[] = {{1, "ダッシュ１_10", 3}, {4, "ダッシュ１_20", 2},  {6, "ダッシュ１_30", 3},
                               {9, "ダッシュ１_40", 3}, {12, "ダッシュ１_50", 2}, {14, "ダッシュ１_60", 3}};
const SPoseKey kWalkH32Keys[] = {
    {1, "h32_歩行2_10", 5}, {6, "h32_歩行2_20", 5}, {11, "h32_歩行2_30", 5}, {16, "h32_歩行2_40", 5}};
const SPoseKey kWalkH21Keys[] = {{1, "h21_歩行_5", 2},   {3, "h21_歩行_15", 5},  {8, "h21_歩行_25", 5},
                                 {13, "h21_歩行_30", 3}, {16, "h21_歩行_35", 2}, {18, "h21_歩行_45", 5},
                                 {23, "h21_歩行_55", 5}, {28, "h21_歩行_60", 3}};
// The gait's speed factors, widened from single precision as stored.
const double kWalkH21Gait[] = {0.3f, 0.3f, 1.0f, 2.0f, 0.3f, 0.3f, 1.0f, 2.0f};
const SPoseKey kWalkH35Keys[] = {
    {1, "h35_歩行_10", 5}, {6, "h35_歩行_20", 5}, {11, "h35_歩行_30", 5}, {16, "h35_歩行_40", 5}};

const SWalk kWalk6 = {16, kWalk6Keys, CountOf(kWalk6Keys), nullptr, 10, kOwnTurnFactor};
const SWalk kWalkH32 = {20, kWalkH32Keys, CountOf(kWalkH32Keys), nullptr, 0, kOwnTurnFactor};
const SWalk kWalkH21 = {30, kWalkH21Keys, CountOf(kWalkH21Keys), kWalkH21Gait, 0, 0.2f};
const SWalk kWalkH35 = {20, kWalkH35Keys, CountOf(kWalkH35Keys), nullptr, 0, 0.2f};

void StepWalk6(CRobot& r) { StepWalk(r, kWalk6); }
void StepWalkH32(CRobot& r) { StepWalk(r, kWalkH32); }
void StepWalkH21(CRobot& r) { StepWalk(r, kWalkH21); }
void StepWalkH35(CRobot& r) { StepWalk(r, kWalkH35); }

// The one movement that poses by a joint-angle animation instead of key poses.
void StepDash4(CRobot& r) {
    const int frame = r.m_actionFrame;
    if (frame == 1) {
        r.SetAnimation("ダッシュ４");
        PlaySound(r, 0);
    }
    Footsteps(r, 8);
    if (frame == 1) FireBodyEffect(r, "ダッシュ２");
    TwistFromDirections(r);
    if (frame > 0) FreeSpeed(r, r.m_dashSpeed);
    r.ApplyTurnInput(0.2f);
    if (!QueueWeaponChain(r) && !AnyDirectionHeld(r)) QueueSlot(r, kActStance);
    EndStepState1(r);
}

const SActionScript kRows[] = {
    {"歩行４", kGroupMove, StepWalk4},       {"歩行６", kGroupMove, StepWalk6},
    {"h32_歩行2", kGroupMove, StepWalkH32},  {"h21_歩行", kGroupMove, StepWalkH21},
    {"h35_歩行", kGroupMove, StepWalkH35},   {"ダッシュ４", kGroupMove, StepDash4},
};

}  // namespace

SActionTable GetWalkActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
