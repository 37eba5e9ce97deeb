// The CPU opponent framework: dispatch by AI type, the conversion of virtual buttons into button
// values, the ground probes and the small pieces every state machine shares.
#include "cpu_ai.h"

#include "camera.h"
#include "cpu_local.h"
#include "math_ops.h"
#include "node.h"
#include "robot.h"

namespace {
constexpr float kNoGroundDistance = 9000.0f;  // a probe that meets no ground

// Types whose routine reads the target: with none they stand idle rather than read nothing.
bool ReadsTarget(int type) { return type != 0 && type != -2 && type != 1; }
}  // namespace

float Distance3(float ax, float ay, float az, float bx, float by, float bz) {
    const float dx = ax - bx, dy = ay - by, dz = az - bz;
    const float d = SqrtF(dx * dx + dy * dy + dz * dz);
    return d < 0 ? -d : d;
}

void CCpuAi::Think(CRobot* robot, CRobot* target, C3DObject* ground) {
    if (!robot) return;
    if (!target && ReadsTarget(m_type)) {
        robot->ClearVirtualButtons();
    } else {
        switch (m_type) {
        case 0: break;
        case -3: RunTypeMinus3(robot, target); break;
        case -2: robot->ClearVirtualButtons(); break;
        case 1: RunType1(robot, target, ground); break;
        case 2: RunType2(robot, target, ground); break;
        case 3: RunType3(robot, target, ground); break;
        case 4: RunType4(robot, target, ground); break;
        case 5: RunType5(robot, target, ground); break;
        case 6: RunType6(robot, target, ground); break;
        case 7: RunType7(robot, target, ground); break;
        case 20: RunType20(robot, target); break;
        default: RunDefault(robot, target); break;  // -1 and every type without a routine
        }
    }
    ConvertButtons(robot);
}

void CCpuAi::ConvertButtons(CRobot* robot) {
    for (int k = 0; k < kInputCount; ++k) {
        if (k == kBtnUnused) continue;  // no routine presses it; its value stays as cleared
        robot->m_padState[k] = 0;
        if (robot->m_input[k]) robot->m_padState[k] = 3;
    }
    // A fresh press every step, so each step that asks for a new target is heard as one.
    if (robot->m_input[kBtnChangeTarget]) robot->m_padState[kBtnChangeTarget] = 2;
}

bool CCpuAi::IsGroundBelow(float x, float y, float z, C3DObject* ground) {
    if (!ground) return false;
    Vec3 hit;
    return ground->PickMesh(Vec3(x, y, z) - ground->GetWorldPosition(), Vec3(0, -1, 0), &hit) == 1;
}

float CCpuAi::GroundDistance(float ox, float oy, float oz, float dx, float dy, float dz, C3DObject* ground) {
    if (!ground) return kNoGroundDistance;
    // The pick takes the origin relative to the ground node and answers in the same frame.
    const Vec3 origin = Vec3(ox, oy, oz) - ground->GetWorldPosition();
    Vec3 hit;
    if (ground->PickMesh(origin, Vec3(dx, dy, dz), &hit) != 1) return kNoGroundDistance;
    return Distance3(origin.x, origin.y, origin.z, hit.x, hit.y, hit.z);
}

// ---- Shared pieces ----------------------------------------------------------------------------

void CCpuAi::SetState(const char* state) {
    m_state = state;
    m_stateFrames = 0;
}

void CCpuAi::DrawNewDirection() {
    const int a = CpuRoll(2);
    const int b = CpuRoll(2);
    m_move.z = a == 1 ? 1.0f : -1.0f;
    m_move.x = b == 1 ? 1.0f : -1.0f;
}

void CCpuAi::PressMove(CRobot* robot) const {
    if (m_move.z == 1.0f) robot->m_input[kBtnForward] = true;
    if (m_move.z == -1.0f) robot->m_input[kBtnBack] = true;
    if (m_move.x == -1.0f) robot->m_input[kBtnLeft] = true;
    if (m_move.x == 1.0f) robot->m_input[kBtnRight] = true;
}

void CCpuAi::ProbeGround(CRobot* robot, C3DObject* ground, bool* ahead, float* drop) const {
    const Vec3 p = robot->m_frames[kRootFrame].GetLocalPosition();
    const Vec3 v(float(robot->m_velocity[0]), float(robot->m_velocity[1]), float(robot->m_velocity[2]));
    const Vec3 q = p + v * 10.0f;
    *ahead = IsGroundBelow(q.x, q.y, q.z, ground);
    *drop = GroundDistance(p.x, p.y, p.z, v.x, v.y, v.z, ground);
}

bool CCpuAi::EnterFallAvoidance(bool ahead, float drop) {
    if (m_state == "落下回避" || ahead || !(drop > 3.0f)) return false;
    m_state = "落下回避";
    m_stateFrames = 1;
    m_move = -m_move;
    return true;
}

CCpuSight CCpuAi::Look(CRobot* robot, CRobot* target) {
    const C3DObject& own = robot->m_frames[kRootFrame];
    const C3DObject& other = target->m_frames[kRootFrame];
    CCpuSight s;
    s.a = GetRelativePosition(own, other);
    s.b = GetRelativePosition(other, own);
    s.facing = s.a.z < 0 && CpuAbs(s.a.x) <= 0.9 * CpuAbs(s.a.z);
    s.watched = s.b.z < 0 && CpuAbs(s.b.x) <= 0.9 * CpuAbs(s.b.z);
    const Vec3 p = own.GetLocalPosition(), q = other.GetLocalPosition();
    s.dist = Distance3(p.x, p.y, p.z, q.x, q.y, q.z);
    return s;
}
