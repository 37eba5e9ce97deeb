// The stateless opponents that steer straight at their target: the default opponent (-3), the
// plain pursuer (-1, also every type without a routine) and the online auto-pilot (20).
#include "cpu_ai.h"

#include "camera.h"
#include "cpu_local.h"

namespace {

Vec3 TargetSeen(CRobot* robot, CRobot* target) {
    return GetRelativePosition(robot->m_frames[kRootFrame], target->m_frames[kRootFrame]);
}

// Right-hand, back, then left-hand weapon, each 1 in n; true when one was pressed.
bool WeaponGate(CRobot* robot, int n) {
    if (CpuChance(n)) {
        Press(robot, kBtnRightWeapon);
        return true;
    }
    if (CpuChance(n)) {
        Press(robot, kBtnBackWeapon);
        return true;
    }
    if (CpuChance(n)) {
        Press(robot, kBtnLeftWeapon);
        return true;
    }
    return false;
}

// Forward while the target is more than 6 ahead, sideways toward it (both at x = 0).
void Approach(CRobot* robot, const Vec3& rel) {
    if (rel.z < -6.0f) Press(robot, kBtnForward);
    if (rel.x <= 0) Press(robot, kBtnLeft);
    if (rel.x >= 0) Press(robot, kBtnRight);
}

// On the ground the target is also kept at arm's length: back off when nearer than 4.
void ApproachOnGround(CRobot* robot, const Vec3& rel) {
    if (rel.z < -6.0f) Press(robot, kBtnForward);
    if (rel.z > -4.0f) Press(robot, kBtnBack);
    if (rel.x <= 0) Press(robot, kBtnLeft);
    if (rel.x >= 0) Press(robot, kBtnRight);
}

// Turns toward a target outside the cone of the given slope about the line ahead or behind.
void TurnToward(CRobot* robot, const Vec3& rel, double slope) {
    const double cone = slope * CpuAbs(rel.z);
    if (cone < rel.x) Press(robot, kBtnTurnLeft);
    if (-cone > rel.x) Press(robot, kBtnTurnRight);
}

bool OnGround(CRobot* target) { return target->m_groundHeight < 0.1; }

}  // namespace

void CCpuAi::RunDefault(CRobot* robot, CRobot* target) {
    robot->ClearVirtualButtons();
    const Vec3 rel = TargetSeen(robot, target);
    if (!WeaponGate(robot, 99)) {
        if (!OnGround(target)) {
            Approach(robot, rel);
        } else if (CpuChance(4)) {
            Press(robot, kBtnBoost);
        } else if (CpuChance(6)) {
            Press(robot, kBtnBoost);
            const int a = CpuRoll(2);
            const int b = CpuRoll(2);
            Press(robot, a == 1 ? kBtnForward : kBtnBack);
            Press(robot, b == 1 ? kBtnLeft : kBtnRight);
        } else {
            ApproachOnGround(robot, rel);
        }
    }
    TurnToward(robot, rel, 0.2);
}

void CCpuAi::RunType20(CRobot* robot, CRobot* target) {
    robot->ClearVirtualButtons();
    const Vec3 rel = TargetSeen(robot, target);
    if (!OnGround(target)) {
        Approach(robot, rel);
    } else if (CpuChance(4)) {
        Press(robot, kBtnBoost);
    } else if (CpuChance(6)) {
        Press(robot, kBtnBoost);
        // Four coins, so the player's robot may press both or neither of two opposite ways.
        const int order[4] = {kBtnForward, kBtnLeft, kBtnRight, kBtnBack};
        for (int button : order)
            if (CpuRoll(2) == 1) Press(robot, button);
    } else {
        ApproachOnGround(robot, rel);
    }
    TurnToward(robot, rel, 0.2);
}

void CCpuAi::RunTypeMinus3(CRobot* robot, CRobot* target) {
    robot->ClearVirtualButtons();
    const Vec3 rel = TargetSeen(robot, target);
    if (!WeaponGate(robot, 2999) && !OnGround(target)) Approach(robot, rel);
    if (CpuRoll(2) == 1) TurnToward(robot, rel, 0.02);
}
