// How a robot takes a hit and goes down: the knock-down (tumble, lying, getting up), the short
// stagger of a hit stun, the guard with its counter lunge, and the destruction that lies still
// until the help field the robot leaves brings it back.
#include "action_helpers.h"
#include "action_tables.h"
#include "camera.h"
#include "request_forms.h"
#include "robot.h"

namespace {

const char* const kGuardCounter = "h29_ガード反撃";

// The knock-down's phases by step counter: tumbling, lying, getting up.
constexpr int kLyingStep = 100;
constexpr int kGetUpStep = 200;
constexpr int kGetUpEnd = 230;
constexpr int kGetUpInvincible = 25;
constexpr int kGetUpVpBonus = 30;
constexpr float kStillSpeed = 0.2f;  // slower than this, a knocked-down robot drops where it is

constexpr double kCounterLunge = -0.4f;
constexpr double kWreckHop = 0.1f;
constexpr double kWreckFall = -0.2f;
constexpr int kHelpFieldFirst = 20;  // the window in which the wreck leaves its help field
constexpr int kHelpFieldLast = 120;

const char* const kTumbleBack[3] = {"h29_吹っ飛び_10", "h29_吹っ飛び_20", "h29_吹っ飛び_30"};
const char* const kTumbleFace[3] = {"h29_吹っ飛び_30", "h29_吹っ飛び_20", "h29_吹っ飛び_10"};

void LandingDust(CRobot& r) { FireBurst(r, "ダッシュ", 1); }

// True when the robot is pushed toward its back: its horizontal velocity points along the
// root's +Z axis (it faces -Z).
bool PushedBackwards(const CRobot& r) {
    const Vec3 v(static_cast<float>(r.m_velocity[0]), 0, static_cast<float>(r.m_velocity[2]));
    return TransformToLookAtSpace(r.m_frames[kRootFrame].GetLocalAxisZ(), Vec3(0, 0, 0), v).z > 0;
}

// The body keeps its facing while the root turns under it.
void TurnUnderBody(CRobot& r, float factor) {
    r.ApplyTurnInput(factor);
    r.m_heldTwist -= static_cast<float>(r.m_turnRate[1]);
    r.m_twistTarget = r.m_heldTwist;
}

void Tumble(CRobot& r, bool back) {
    int& step = r.m_actionFrame;
    const int phase = step % 9;
    const char* const* poses = back ? kTumbleBack : kTumbleFace;
    if (phase == 1) r.SetPose(poses[0], 3);
    if (phase == 4) r.SetPose(poses[1], 3);
    if (phase == 7) r.SetPose(poses[2], 3);
    r.m_moveState = 3;
    if (step == 1 && r.m_velocity[1] < 0.1) r.m_velocity[1] -= 10 * r.m_gravity;
    if (step >= 5 && r.m_groundHeight < 0.1) {
        LandingDust(r);
        r.SetPose("ダウン_00", 3);
        step = kLyingStep;
    }
}

void Lie(CRobot& r, bool back) {
    int& step = r.m_actionFrame;
    const double vy = r.m_velocity[1];
    if (back) {
        if (vy < 0) r.SetPose("h29_仰向け_10", 3);
        if (vy > 0) r.SetPose("h29_仰向け_20", 3);
        if (r.m_groundHeight < 0.2) r.SetPose("h29_仰向け_30", 3);
    } else {
        if (vy < 0) r.SetPose("h29_うつ伏せ_10", 5);
        if (vy > 0) r.SetPose("h29_うつ伏せ_20", 5);
        if (r.m_groundHeight < 0.2) r.SetPose("h29_うつ伏せ_30", 3);
    }
    r.m_moveState = 3;
    if (step == kLyingStep + 1) r.m_velocity[1] = -5 * r.m_gravity;
    if (step >= kLyingStep + 5 && r.m_groundHeight < 0.1) {
        LandingDust(r);
        step = kGetUpStep;
    }
}

void GetUp(CRobot& r) {
    if (r.m_actionFrame == kGetUpStep + 1) r.m_heldTwist = 0;
    TurnUnderBody(r, 2.0f);
    r.m_vp += r.m_vpRegen + kGetUpVpBonus;
    r.m_moveState = 1;
}

void StepKnockDown(CRobot& r) {
    UseKeyPoses(r);
    const float speed = CRobot::Distance(static_cast<float>(r.m_velocity[0]), static_cast<float>(r.m_velocity[1]),
                                         static_cast<float>(r.m_velocity[2]), 0, 0, 0);
    if (r.m_actionFrame == 1 && speed < kStillSpeed) r.m_actionFrame = kLyingStep + 1;
    const bool back = PushedBackwards(r);
    if (r.m_actionFrame < kLyingStep) Tumble(r, back);
    else if (r.m_actionFrame < kGetUpStep) Lie(r, back);
    else GetUp(r);
    if (r.m_actionFrame > kGetUpEnd) {
        r.m_vp = r.m_maxVp;
        r.m_invincible = kGetUpInvincible;
        QueueSlot(r, kActStance);
        r.m_moveState = 1;
    }
    EndStep(r);
}

void StepHitStun(CRobot& r) {
    UseKeyPoses(r);
    if (r.m_actionFrame == 1) {
        r.SetPose("硬直_00", 5);
        PlaySound(r, 1);
    }
    r.m_moveState = r.m_actionFrame < 10 ? 3 : 2;
    if (r.m_vp >= 1000 || r.m_actionFrame > 20) {
        QueueSlot(r, kActStance);
        r.m_moveState = 1;
    }
    EndStep(r);
}

void StepGuard(CRobot& r) {
    UseKeyPoses(r);
    PoseAt(r, r.m_actionFrame, 1, "h29_ガード_10", 2);
    PoseAt(r, r.m_actionFrame, 3, "h29_ガード_20", 5);
    r.m_moveState = r.m_actionFrame < 5 ? 3 : 2;
    const int leaving = AnyDirectionHeld(r) || IsHeld(r, kInBoost);
    if (leaving) QueueSlot(r, kActStance);
    const int weapon = IsHeld(r, kInRightWeapon) || IsHeld(r, kInBackWeapon) || IsHeld(r, kInLeftWeapon);
    if (r.m_framesSinceDamage >= 2 && !leaving && weapon) r.SetNextAction(kGuardCounter);
    if (r.m_actionFrame > 15 && r.m_framesSinceDamage >= 15) QueueSlot(r, kActStance);
    EndStep(r);
}

void StepGuardCounter(CRobot& r) {
    UseKeyPoses(r);
    PoseAt(r, r.m_actionFrame, 1, "h29_ガード_20", 5);
    r.m_moveState = 0;
    r.m_moveSpeed[0] = kCounterLunge;
    if (r.m_actionFrame >= 6) QueueSlot(r, kActStance);
    EndStep(r);
}

void StepDestroyed(CRobot& r) {
    UseKeyPoses(r);
    int& step = r.m_actionFrame;
    double& vy = r.m_velocity[1];
    if (step == 1) {
        r.SetPose("ダウン_00", 10);
        if (vy < 0.1) vy += kWreckHop;
        r.m_heldTwist = 0;
    }
    TurnUnderBody(r, 1.0f);
    if (step >= 20 && vy > 0) vy = kWreckFall;
    const bool grounded = r.m_groundHeight < 0.1;
    if (step >= 5 && grounded) {
        if (vy < kWreckFall) vy = kWreckFall;
        r.m_moveSpeed[0] = r.m_moveSpeed[1] = 0;
        if (r.m_moveState == 3) LandingDust(r);
        r.m_moveState = 1;
    } else {
        r.m_moveState = 3;
    }
    // Once: the jump to the window's end keeps a second field from going out.
    if (step >= kHelpFieldFirst && step <= kHelpFieldLast && grounded && vy <= 0) {
        step = kHelpFieldLast;
        FireBurst(r, "ＨＥＬＰフィールド", 1);
    }
    // A wreck takes nothing from the queue, not even a victory or defeat, until it is revived.
    if (r.m_hp > 0) {
        QueueSlot(r, kActStance);
        EndStep(r);
    }
}

const SActionScript kRows[] = {
    {"h29_被弾硬直", kGroupFlight, StepKnockDown}, {"被弾硬直２", kGroupFlight, StepHitStun},
    {"h29_ガード", kGroupFlight, StepGuard},       {kGuardCounter, kGroupFlight, StepGuardCounter},
    {"撃破２", kGroupFlight, StepDestroyed},
};

}  // namespace

SActionTable GetReactionActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
