// The dispatcher's own actions: the stagger every robot type uses, the common stance with its
// turn poses, and the type stances that turn on the spot. The dispatcher runs them before the
// script groups; each ends its step with "deff".
#include "action_helpers.h"
#include "action_tables.h"
#include "move_blocks.h"
#include "robot.h"

namespace {

// Inputs accepted by every stance, in priority order: the first request of a step wins.
void QueueStanceFollowUps(CRobot& r) {
    if (IsHeld(r, kInRightWeapon)) QueueSlot(r, kActRightHand);
    if (IsHeld(r, kInBackWeapon)) QueueSlot(r, kActBack);
    if (IsHeld(r, kInLeftWeapon)) QueueSlot(r, kActLeftHand);
    if (IsHeld(r, kInBoost)) QueueSlot(r, kActJump);
}

void StepStagger(CRobot& r) {
    UseKeyPoses(r);
    PoseAt(r, r.m_actionFrame, 1, "着地硬直_00", 5);
    r.m_moveState = 1;
    if (r.m_actionFrame == 1) {
        r.m_moveSpeed[0] = 0;
        r.m_moveSpeed[1] = 0;
        r.ClearTurnRate();
        PlaySound(r, 1);
        FireBodyEffect(r, "ダッシュ");
    } else if (r.m_actionFrame > 10) {
        QueueSlot(r, kActStance);
    }
    EndStep(r);
}

// Turn state kept in the first action parameter: 0 idle, 1 turning right, 2 turning left.
constexpr double kTurningRight = 1.0;
constexpr double kTurningLeft = 2.0;

void StepStance(CRobot& r) {
    UseKeyPoses(r);
    const int frame = r.m_actionFrame;
    double& turn = r.m_actionParam[0];
    const int right = IsHeld(r, kInTurnRight);
    const int left = IsHeld(r, kInTurnLeft);
    if (right == left) {
        turn = 0;
        PoseAt(r, frame % 15, 1, "構え_00", 9);
        PoseAt(r, frame % 15, 10, "構え_30", 5);
    } else if (right) {
        if (turn != kTurningRight) {
            turn = kTurningRight;
            r.SetPose("旋回１_20", 10);
        }
    } else if (turn != kTurningLeft) {
        turn = kTurningLeft;
        r.SetPose("旋回１_40", 10);
    }
    r.m_moveState = 1;
    if (turn == kTurningRight || turn == kTurningLeft) r.ApplyTurnInput(1.0f);
    if (AnyDirectionHeld(r)) QueueSlot(r, kActWalk);
    QueueStanceFollowUps(r);
    EndStep(r);
}

// The type stances share one step: their own pose loop, and turning on the spot every step.
void StepTypeStance(CRobot& r, int period, const SPoseKey* keys, int keyCount) {
    r.m_moveState = 1;
    UseKeyPoses(r);
    PoseKeys(r, r.m_actionFrame % period, keys, keyCount);
    if (AnyDirectionHeld(r)) QueueSlot(r, kActWalk);
    r.ApplyTurnInput(1.0f);
    QueueStanceFollowUps(r);
    EndStep(r);
}

const SPoseKey kStance4Keys[] = {
    {1, "h32_待機3_20", 10}, {11, "h32_待機3_30", 5}, {16, "h32_待機3_50", 10}, {26, "h32_待機3_60", 5}};
const SPoseKey kStance5Keys[] = {{1, "h21_待機_10", 10}, {11, "h21_待機_30", 10}};
const SPoseKey kStance6Keys[] = {
    {1, "h35_構え_10", 7}, {6, "h35_構え_17", 3}, {9, "h35_構え_30", 7}, {16, "h35_構え_37", 3}};

void StepStance4(CRobot& r) { StepTypeStance(r, 30, kStance4Keys, CountOf(kStance4Keys)); }
void StepStance5(CRobot& r) { StepTypeStance(r, 20, kStance5Keys, CountOf(kStance5Keys)); }
void StepStance6(CRobot& r) { StepTypeStance(r, 20, kStance6Keys, CountOf(kStance6Keys)); }

const SActionScript kRows[] = {
    {"硬直２", kGroupDispatcher, StepStagger},
    {"構え", kGroupDispatcher, StepStance},
    {"構え４", kGroupDispatcher, StepStance4},
    {"構え５", kGroupDispatcher, StepStance5},
    {"構え６", kGroupDispatcher, StepStance6},
};

}  // namespace

SActionTable GetDispatcherActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
