// The boosted dashes of the robot types and the brakes that end them: a dash keeps the
// direction chosen at its start, pays a lump of energy and then a cost per step once it runs
// long, and from its 15th step lets go into a brake or the stance when the button is released.
#include "action_helpers.h"
#include "action_tables.h"
#include "move_blocks.h"
#include "robot.h"

namespace {

struct SDash {
    int period;
    const SPoseKey* keys;
    int keyCount;
    int footstepPeriod;  // 0: only the action sound at frame 1
    const char* brake;   // the action a released button ends in; null: the stance
};

constexpr int kDashLongFrame = 15;  // from here the dash re-aims, turns and costs per step

float TurnFactorOfDash(const CRobot& r) {
    if (r.m_actionFrame <= kDashLongFrame) return 0;
    const float t = r.m_twistTarget;
    if (t == 0.0f) return 0.3f;
    if (t == 0.785f || t == -0.785f) return 0.1f;
    return 0;
}

void StepDash(CRobot& r, const SDash& d) {
    const int frame = r.m_actionFrame;
    UseKeyPoses(r);
    PoseKeys(r, frame % d.period, d.keys, d.keyCount);
    if (frame == 1) PlaySound(r, 0);
    Footsteps(r, d.footstepPeriod);
    TwistFromDirections(r);
    const int boost = IsPressedOrHeld(r, kInBoost);
    LatchTwist(r, frame == 1 || (frame >= kDashLongFrame && boost && AnyDirectionHeld(r)));
    LatchedSpeed(r, r.m_dashSpeed);
    DashEffects(r);
    r.m_moveState = frame <= 5 ? 0 : 2;
    if (frame >= 3 && IsFreshPress(r, kInBoost)) QueueSlot(r, kActJump);
    r.ApplyTurnInput(TurnFactorOfDash(r));
    if (frame == 1) r.UseEnergy(r.m_dashStartEnergy);
    if (frame > kDashLongFrame) r.UseEnergy(r.m_dashStepEnergy);
    if (!QueueWeaponChain(r) && frame >= kDashLongFrame && !IsHeld(r, kInBoost)) {
        if (d.brake) r.SetNextAction(d.brake);
        else QueueSlot(r, kActStance);
    }
    EndStepState1(r);
}

const SPoseKey kDashAKeys[] = {{1, "h29_ダッシュ2_4", 2},  {3, "h29_ダッシュ2_8", 2},  {5, "h29_ダッシュ2_12", 2},
                               {7, "h29_ダッシュ2_16", 2}, {9, "h29_ダッシュ2_20", 2}, {11, "h29_ダッシュ2_24", 2}};
const SPoseKey kDashH32Keys[] = {
    {1, "h32_ﾀﾞｯｼｭ_8", 4}, {5, "h32_ﾀﾞｯｼｭ_16", 4}, {9, "h32_ﾀﾞｯｼｭ_24", 4}, {13, "h32_ﾀﾞｯｼｭ_32", 4}};
const SPoseKey kDashH21Keys[] = {{1, "h21_ダッシュ_10", 5}, {6, "h21_ダッシュ_20", 5}};
const SPoseKey kDashH35Keys[] = {
    {1, "h35_走り_10", 4}, {5, "h35_走り_20", 4}, {9, "h35_走り_30", 4}, {13, "h35_走り_40", 4}};

const SDash kDashA = {12, kDashAKeys, CountOf(kDashAKeys), 8, "h29_ブレーキ"};
const SDash kDashH32 = {16, kDashH32Keys, CountOf(kDashH32Keys), 8, nullptr};
const SDash kDashH21 = {10, kDashH21Keys, CountOf(kDashH21Keys), 0, "h21_ブレーキ"};
const SDash kDashH35 = {16, kDashH35Keys, CountOf(kDashH35Keys), 8, nullptr};

void StepDashA(CRobot& r) { StepDash(r, kDashA); }
void StepDashH32(CRobot& r) { StepDash(r, kDashH32); }
void StepDashH21(CRobot& r) { StepDash(r, kDashH21); }
void StepDashH35(CRobot& r) { StepDash(r, kDashH35); }

// A brake slides on in the latched direction and settles into the stance.
void StepBrake(CRobot& r, const SPoseKey* keys, int keyCount) {
    UseKeyPoses(r);
    PoseKeys(r, r.m_actionFrame, keys, keyCount);
    r.m_twistTarget = r.m_heldTwist;
    r.m_moveState = 3;
    r.ApplyTurnInput(0.5f);
    if (IsFreshPress(r, kInBoost)) QueueSlot(r, kActJump);
    if (r.m_actionFrame >= 9) r.m_twistTarget = 0;
    if (r.m_actionFrame >= 10) QueueSlot(r, kActStance);
    EndStepState1(r);
}

const SPoseKey kBrakeLeftKeys[] = {{1, "h29_ブレーキ_10", 1}, {5, "h29_ブレーキ_20", 4}};
const SPoseKey kBrakeRightKeys[] = {{1, "h29_ブレーキ2_10", 1}, {5, "h29_ブレーキ2_20", 6}};
const SPoseKey kBrakeH21Keys[] = {{1, "h21_ブレーキ_10", 5}, {6, "h21_ブレーキ_30", 5}};

void StepBrakeH29(CRobot& r) {
    if (r.m_heldTwist < 0) StepBrake(r, kBrakeLeftKeys, CountOf(kBrakeLeftKeys));
    else StepBrake(r, kBrakeRightKeys, CountOf(kBrakeRightKeys));
}
void StepBrakeH21(CRobot& r) { StepBrake(r, kBrakeH21Keys, CountOf(kBrakeH21Keys)); }

const SActionScript kRows[] = {
    {"ダッシュ2005a", kGroupMove, StepDashA},      {"ダッシュ2005_h32", kGroupMove, StepDashH32},
    {"ダッシュ2005_h21", kGroupMove, StepDashH21}, {"ダッシュ2005_h35", kGroupMove, StepDashH35},
    {"h29_ブレーキ", kGroupMove, StepBrakeH29},    {"h21_ブレーキ", kGroupMove, StepBrakeH21},
};

}  // namespace

SActionTable GetDashActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
