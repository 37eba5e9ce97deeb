// The movement scripts' building blocks: how held directions become a twist and speeds, how a
// dash keeps its direction, and the effects, poses and sounds that go with them.
#include "move_blocks.h"

#include "action_helpers.h"
#include "robot.h"

#include "node.h"

namespace {

// The twist values of the eight directions, radians relative to the facing.
constexpr float kTwistAheadRight = 0.785f;
constexpr float kTwistAheadLeft = -0.785f;
constexpr float kTwistBackRight = 2.356f;
constexpr float kTwistBackLeft = -2.356f;
constexpr float kTwistAhead = 0.0f;
constexpr float kTwistBack = 3.14f;
constexpr float kTwistRight = 1.57f;
constexpr float kTwistLeft = -1.57f;

constexpr float kDiagonal = 0.7f;

// Forward speed is negative ahead, side speed negative to the right.
void SetDiagonal(CRobot& r, double stat, int back, int left) {
    r.m_moveSpeed[0] = (back ? kDiagonal : -kDiagonal) * stat;
    r.m_moveSpeed[1] = (left ? kDiagonal : -kDiagonal) * stat;
}

}  // namespace

void TwistFromDirections(CRobot& r) {
    const int f = IsHeld(r, kInForward), b = IsHeld(r, kInBack);
    const int rt = IsHeld(r, kInRight), lt = IsHeld(r, kInLeft);
    float& t = r.m_twistTarget;
    if (f && rt) t = kTwistAheadRight;
    else if (f && lt) t = kTwistAheadLeft;
    else if (b && rt) t = kTwistBackRight;
    else if (b && lt) t = kTwistBackLeft;
    else if (f) t = kTwistAhead;
    else if (b) t = kTwistBack;
    else if (rt) t = kTwistRight;
    else if (lt) t = kTwistLeft;
}

void WalkSpeed(CRobot& r, double stat) {
    if (r.m_actionFrame <= 0) return;
    const int f = IsHeld(r, kInForward), b = IsHeld(r, kInBack);
    const int rt = IsHeld(r, kInRight), lt = IsHeld(r, kInLeft);
    if (f && rt) SetDiagonal(r, stat, 0, 0);
    else if (f && lt) SetDiagonal(r, stat, 0, 1);
    else if (b && rt) SetDiagonal(r, stat, 1, 0);
    else if (b && lt) SetDiagonal(r, stat, 1, 1);
    else if (f) r.m_moveSpeed[0] = -stat;
    else if (b) r.m_moveSpeed[0] = stat;
    else if (rt) r.m_moveSpeed[1] = -stat;
    else if (lt) r.m_moveSpeed[1] = stat;
}

void FreeSpeed(CRobot& r, double stat) {
    if (IsHeld(r, kInForward)) r.m_moveSpeed[0] = -stat;
    if (IsHeld(r, kInBack)) r.m_moveSpeed[0] = stat;
    if (IsHeld(r, kInRight)) r.m_moveSpeed[1] = -stat;
    if (IsHeld(r, kInLeft)) r.m_moveSpeed[1] = stat;
}

void LatchTwist(CRobot& r, int latchNow) {
    if (latchNow) r.m_heldTwist = r.m_twistTarget;
    else r.m_twistTarget = r.m_heldTwist;
}

void LatchedSpeed(CRobot& r, double stat) {
    const float t = r.m_twistTarget;
    if (t == kTwistAheadRight) SetDiagonal(r, stat, 0, 0);
    else if (t == kTwistAheadLeft) SetDiagonal(r, stat, 0, 1);
    else if (t == kTwistBackRight) SetDiagonal(r, stat, 1, 0);
    else if (t == kTwistBackLeft) SetDiagonal(r, stat, 1, 1);
    else if (t == kTwistAhead) r.m_moveSpeed[0] = -stat;
    else if (t == kTwistBack) r.m_moveSpeed[0] = stat;
    else if (t == kTwistRight) r.m_moveSpeed[1] = -stat;
    else if (t == kTwistLeft) r.m_moveSpeed[1] = stat;
}

void FireTurnedEffect(CRobot& r, const char* kind, float turn, int bodyAim) {
    C3DObject& root = r.m_frames[11];
    Mat4 saved;
    root.GetMatrix(&saved);
    root.RotateY(turn);
    const Vec3 at = r.m_frames[1].GetWorldPosition();
    const Vec3 dir = -(bodyAim ? r.m_frames[1].GetWorldAxisZ() : root.GetWorldAxisZ());
    root.m_matrix = saved;
    r.FireWeaponAt(kind, at, dir);
}

void DashEffects(CRobot& r) {
    if (r.m_actionFrame == 1) FireTurnedEffect(r, "ダッシュ２", r.m_twistTarget, 0);
    if (r.m_actionFrame % 2 == 1) FireTurnedEffect(r, "ブースト", r.m_twist, 0);
}

void PoseKeys(CRobot& r, int phase, const SPoseKey* keys, int count) {
    for (int i = 0; i < count; ++i) PoseAt(r, phase, keys[i].frame, keys[i].pose, keys[i].frames);
}

void Footsteps(CRobot& r, int period) {
    if (period > 0 && r.m_actionFrame % period == 0) PlaySound(r, 1);
}

void LandingCheck(CRobot& r, int afterFrame) {
    if (r.m_actionFrame > afterFrame && r.m_groundHeight < kOffGround && r.m_velocity[1] < 0) {
        r.m_moveSpeed[0] = 0;
        r.m_moveSpeed[1] = 0;
        QueueSlot(r, kActStagger);
    }
}
