// Motion of one robot step: the overweight rules, steering the world velocity toward the
// speeds the script asked for, gravity, turning and levelling the root, then moving one axis
// at a time against the stage's collision mesh, with the engine sound following the speed.
#include "action_helpers.h"
#include "robot.h"

#include "math_ops.h"
#include "node.h"
#include "sound.h"

namespace {

constexpr double kMaxAxisSpeed = 0.45;   // units per step on each axis
constexpr double kDeadSpeed = 0.01;      // at or below this an axis stands still
constexpr double kWallClearance = 0.5;   // the root keeps this far from walls and ceilings
constexpr double kFallFloor = -10.0;     // below this a robot loses HP every step

struct SSteering {
    double kept;   // share of the move speeds kept for the next step
    double share;  // share of the stat by which the velocity may change in one step
    double stat;
};

SSteering SteeringOf(const CRobot& r) {
    switch (r.m_moveState) {
    case 0: return {0.001, 0.999, r.m_walkSpeed};
    case 2: return {r.m_aloftDamping, 1.0 - r.m_aloftDamping, r.m_dashSpeed};
    case 3: return {0.999, 0.001, r.m_dashSpeed};
    default: return {r.m_groundDamping, 1.0 - r.m_groundDamping, r.m_walkSpeed};  // 1 on the ground
    }
}

void ApplyOverweight(CRobot& r) {
    long long w = 0;
    for (int v : r.m_partWeights) w += v;
    const long long cap = r.m_loadCapacity;
    if (w > 1.5 * cap) {
        r.m_ep -= 5;
        if (r.m_ep < 0) r.m_ep = 0;
    }
    if (w > 1.2 * cap)
        for (double& t : r.m_turnRate) t *= 0.5;
    if (w > cap) {
        r.m_moveSpeed[0] *= 0.5;
        r.m_moveSpeed[1] *= 0.5;
    }
}

void Steer(CRobot& r) {
    C3DObject& root = r.m_frames[11];
    const Vec3 ahead = root.GetLocalAxisZ();
    // The side axis is the Z axis turned a quarter about Y; the root is restored exactly.
    Mat4 saved;
    root.GetMatrix(&saved);
    root.RotateY(1.57f);
    const Vec3 side = root.GetLocalAxisZ();
    root.m_matrix = saved;
    const double fx = r.m_moveSpeed[0] * ahead.x + r.m_moveSpeed[1] * side.x;
    const double fz = r.m_moveSpeed[0] * ahead.z + r.m_moveSpeed[1] * side.z;
    const SSteering s = SteeringOf(r);
    double& vx = r.m_velocity[0];
    double& vz = r.m_velocity[2];
    const double d = MathSqrt((vx - fx) * (vx - fx) + (vz - fz) * (vz - fz));
    const double t = d > 0 ? s.share * s.stat / d : 1.0;
    if (d > 0 && t < 1) {
        vx = (1 - t) * vx + t * fx;
        vz = (1 - t) * vz + t * fz;
    } else {
        vx = fx;
        vz = fz;
    }
    r.m_moveSpeed[0] *= s.kept;
    r.m_moveSpeed[1] *= s.kept;
}

void MoveVertically(CRobot& r) {
    double& vy = r.m_velocity[1];
    const double gh = r.m_groundHeight;
    if (gh > 0.02) {
        // A robot shooting aloft does not fall faster.
        const int hovering = gh > 0.2 && vy < 0 && NameContains(r.m_currentAction, "ショット");
        if (!hovering) vy += r.m_gravity;
    } else if (vy < 0) {
        vy = -0.01;
    }
    // A fast fall ends its step with the lower foot just above the ground.
    if (-vy > gh && vy < -0.1) vy = 0.01 - gh;
    if (gh > kOffGround) r.m_moveState = 2;
}

void TurnAndLevel(CRobot& r) {
    C3DObject& root = r.m_frames[11];
    root.RotateX(static_cast<float>(r.m_turnRate[0]));
    root.RotateY(static_cast<float>(r.m_turnRate[1]));
    root.RotateZ(static_cast<float>(r.m_turnRate[2]));
    Vec3 dir = root.GetLocalAxisZ();
    dir.y *= 0.9f;  // pitch decays by a tenth each step; roll is removed
    root.SetOrientation(dir, Vec3(0, 1, 0));
}

double Clamp(double v) {
    if (v > kMaxAxisSpeed) v = kMaxAxisSpeed;
    if (v < -kMaxAxisSpeed) v = -kMaxAxisSpeed;
    if (v <= kDeadSpeed && v >= -kDeadSpeed) v = 0;
    return v;
}

void RunEngineSound(CRobot& r) {
    const double* v = r.m_velocity;
    const double speed = MathSqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    CSound& engine = r.m_sounds[2];
    if (speed > kDeadSpeed) {
        if (!engine.IsPlaying()) engine.Play(1);
        engine.SetVolume(LevelToVolume(2 * speed));
    } else {
        engine.Stop();
    }
}

// One horizontal axis (0 x, 2 z): move, then keep the clearance to a wall ahead on that axis.
void MoveAlongAxis(CRobot& r, const C3DObject* ground, int axis) {
    C3DObject& root = r.m_frames[11];
    double& v = r.m_velocity[axis];
    Vec3 p = root.GetLocalPosition();
    float& coord = axis == 0 ? p.x : p.z;
    coord = static_cast<float>(coord + v);
    root.SetLocalPosition(p.x, p.y, p.z);
    // Standing still counts as moving toward +axis, for the ray and for the clearance.
    const float sign = v < 0 ? -1.0f : 1.0f;
    Vec3 dir;
    (axis == 0 ? dir.x : dir.z) = sign;
    Vec3 hit;
    if (!ground || !ground->PickMesh(p, dir, &hit, nullptr, static_cast<float>(kWallClearance))) return;
    const float wall = axis == 0 ? hit.x : hit.z;
    float gap = coord - wall;
    if (gap < 0) gap = -gap;
    if (!(gap < kWallClearance)) return;
    coord = wall - static_cast<float>(kWallClearance) * sign;
    root.SetLocalPosition(p.x, p.y, p.z);
    r.m_blocked = true;
    if (r.m_groundHeight >= kOffGround) v = -v;  // aloft, a robot bounces off walls
}

}  // namespace

void CRobot::IntegrateMotion(C3DObject* ground) {
    (void)ground;  // the ground is met in ApplyVelocity
    ApplyOverweight(*this);
    Steer(*this);
    MoveVertically(*this);
    TurnAndLevel(*this);
}

void CRobot::ApplyVelocity(C3DObject* ground) {
    for (double& v : m_velocity) v = Clamp(v);
    RunEngineSound(*this);
    m_blocked = false;

    C3DObject& root = m_frames[11];
    double& vy = m_velocity[1];
    Vec3 p = root.GetLocalPosition();
    double y = p.y + vy;
    if (y < kFallFloor) {
        m_hp -= 10;
        if (m_hp < 0) m_hp = 0;
        if (vy < 0) {
            y = kFallFloor;
            vy = 0;
        }
    }
    root.SetLocalPosition(p.x, static_cast<float>(y), p.z);
    if (vy > 0) {
        GroundContact(ground);
        p = root.GetLocalPosition();
        Vec3 hit;
        if (ground && ground->PickMesh(p, Vec3(0, 1, 0), &hit, nullptr, static_cast<float>(kWallClearance)) &&
            hit.y - p.y < kWallClearance) {
            root.SetLocalPosition(p.x, hit.y - static_cast<float>(kWallClearance), p.z);
            vy = 0;
            m_blocked = true;
        }
    } else if (!GroundContact(ground)) {
        m_blocked = true;
    }
    MoveAlongAxis(*this, ground, 0);
    MoveAlongAxis(*this, ground, 2);

    p = root.GetLocalPosition();
    m_lastPosition[0] = p.x;
    m_lastPosition[1] = p.y;
    m_lastPosition[2] = p.z;
    for (CSound& s : m_sounds) s.SetPosition3D(p.x, p.y, p.z);
}
