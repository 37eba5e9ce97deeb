// Lock-on assistance and aiming: while the automatic lock-on is on, the robot presses its turn
// input toward the target each step, and a fresh turn stops exactly at the target's bearing.
// Every query here copes with no target and with a target standing on the robot.
#include "action_helpers.h"
#include "robot.h"

#include "camera.h"
#include "math_ops.h"

namespace {

// A bearing this small counts as straight ahead (or straight behind).
constexpr float kBearingSlack = 0.01f;

struct SBearing {
    Vec3 seen;  // the target in the robot's look-at frame: z < 0 ahead, x > 0 to the left
    float b;    // negative to the left, positive to the right; 0 when x and z are both 0
};

SBearing BearingOf(const CRobot& r, const CRobot& target) {
    SBearing out;
    out.seen = GetRelativePosition(r.m_frames[11], target.m_frames[11]);
    const float x = out.seen.x, z = out.seen.z;
    const float len = SqrtF(x * x + z * z);
    // A target straight above or below has no bearing: taken as straight ahead.
    out.b = len > 0 ? AcosF(x / len) - 1.570795f : 0.0f;
    return out;
}

float Abs(float v) { return v < 0 ? -v : v; }

void PressTurn(CRobot& r, int input) {
    r.m_input[input] = true;
    r.m_padState[input] = kPadPressed;
}

// The robot's facing as a unit vector; straight down -Z when the root has no Z axis at all.
Vec3 UnitFacing(const CRobot& r) {
    Vec3 f = Vec3Normalize(-r.m_frames[11].GetLocalAxisZ());
    if (f == Vec3()) f = Vec3(0, 0, -1);
    return f;
}

Vec3 UnitOrFacing(const CRobot& r, const Vec3& v) {
    Vec3 u = Vec3Normalize(v);
    return u == Vec3() ? UnitFacing(r) : u;
}

}  // namespace

void CRobot::TrackTarget() {
    if (!m_target) return;
    m_nextTargetRequest = m_target->m_hp <= 0;
    if (m_trackStyle != 11) return;
    if (m_padState[kInLockOn] == kPadPressed) {
        if (m_lockOn) m_nextTargetRequest = true;
        else m_lockOn = true;
    }
    if (m_input[kInTurnRight] || m_input[kInTurnLeft]) m_lockOn = false;  // turning by hand
    if (!m_lockOn) return;
    const SBearing s = BearingOf(*this, *m_target);
    if (Abs(s.b) <= kBearingSlack) {
        if (s.seen.z <= 0) return;  // already facing it
        PressTurn(*this, s.seen.x > 0 ? kInTurnLeft : kInTurnRight);
        return;
    }
    if (s.seen.x > 0) PressTurn(*this, kInTurnLeft);
    else if (s.seen.x < 0) PressTurn(*this, kInTurnRight);
}

bool CRobot::ApplyTurnInput(float factor) {
    double& yaw = m_turnRate[1];
    if (m_input[kInTurnRight]) yaw = factor * m_turnSpeed;
    if (m_input[kInTurnLeft]) yaw = -factor * m_turnSpeed;
    if (!m_target) return false;
    const SBearing s = BearingOf(*this, *m_target);
    const int ahead = s.seen.z <= 0;
    if (m_padState[kInTurnRight] == kPadPressed || m_padState[kInTurnLeft] == kPadPressed) {
        // A fresh turn toward a target in front stops at its bearing, never past it.
        if (Abs(s.b) <= kBearingSlack) {
            if (!ahead) return false;
            yaw = 0;
            return true;
        }
        if (s.b < 0) {
            if (ahead && s.b > yaw) {
                yaw = s.b;
                return true;
            }
            return false;
        }
        if (ahead && s.b < yaw) {
            yaw = s.b;
            return true;
        }
        return false;
    }
    return Abs(s.b) <= kBearingSlack && ahead;
}

bool CRobot::IsTargetInFront() {
    if (!m_target) return false;
    const C3DObject& root = m_frames[11];
    const Vec3 p = TransformToLookAtSpace(root.GetLocalAxisZ(), root.GetLocalPosition(),
                                          m_target->m_frames[11].GetLocalPosition());
    const float side = 0.9f * Abs(p.z);
    return p.z > -20 && p.z < 0 && p.x >= -side && p.x <= side;
}

Vec3 CRobot::DirectionToTarget() {
    if (!m_target) return Vec3(0, 0, -1);
    return UnitOrFacing(*this, m_target->m_frames[11].GetLocalPosition() - m_frames[11].GetLocalPosition());
}

Vec3 CRobot::DirectionToTargetLeading(float speed) {
    if (!m_target) return Vec3(0, 0, -1);
    const Vec3 me = m_frames[11].GetLocalPosition();
    Vec3 aim = m_target->m_frames[11].GetLocalPosition();
    // A projectile without speed never arrives: it is aimed where the target stands.
    if (speed > 0) {
        const float d = Distance(me.x, me.y, me.z, aim.x, aim.y, aim.z);
        const float t = d / speed;
        aim += Vec3(static_cast<float>(m_target->m_velocity[0]), static_cast<float>(m_target->m_velocity[1]),
                    static_cast<float>(m_target->m_velocity[2])) * t;
    }
    return UnitOrFacing(*this, aim - me);
}
