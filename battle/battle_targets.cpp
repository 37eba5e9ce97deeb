// Lock-on: every step, after the robots have moved, a robot that asked for a new target gets
// one: the next living enemy in slot order in automatic mode, the most frontal one in manual
// mode. Also the way back from a CPU opponent's buttons into a pad.
#include "battle.h"

#include "camera.h"

#include <cmath>

void CBattle::PadFromAi(const CRobot& robot, CPad* pad) {
    pad->Reset(0);
    // The crossing of ApplyPad undone, so button value k comes back as the robot's flag k.
    for (int s = 0; s < kPadSlots; ++s) pad->m_values[s] = robot.m_padState[kPadSlotToFlag[s]];
}

void CBattle::UpdateTargets() {
    const int count = m_robotCount < kMaxRobots ? m_robotCount : kMaxRobots;
    for (int i = 0; i < count; ++i) {
        CRobot& r = m_robots[i];
        if (!r.m_lockOn) {
            SelectFrontTarget(&r, i);
            continue;
        }
        if (!r.m_nextTargetRequest) continue;
        // Cycle to the next living enemy after the current target, wrapping; the request stays
        // for the target tracking to clear.
        const int b = SlotOf(r.m_target);
        int c = b;
        for (int tries = 0; tries < count; ++tries) {
            c = c + 1 >= count ? 0 : c + 1;
            if (c == b) break;
            if (c != i && !IsSameTeam(i, c) && m_robots[c].m_hp >= 1) {
                r.m_target = &m_robots[c];
                break;
            }
        }
    }
}

void CBattle::SelectFrontTarget(CRobot* robot, int slot) {
    if (!robot->m_nextTargetRequest) return;
    robot->m_nextTargetRequest = false;
    const int count = m_robotCount < kMaxRobots ? m_robotCount : kMaxRobots;
    int cur = SlotOf(robot->m_target);
    const C3DObject& eye = robot->m_frames[kRootFrame];
    for (int p = 0; p < count; ++p) {
        if (p == cur || p == slot || IsSameTeam(slot, p) || m_robots[p].m_hp <= 0) continue;
        bool take;
        if (cur < 0) {
            // No target to compare with: the first eligible enemy, refined on the next steps.
            take = true;
        } else {
            // Seen from the robot, with z negated so that ahead is positive.
            Vec3 c = GetRelativePosition(eye, m_robots[cur].m_frames[kRootFrame]);
            Vec3 q = GetRelativePosition(eye, m_robots[p].m_frames[kRootFrame]);
            float bearingCur = GetAngle2D(c.x, -c.z), bearingP = GetAngle2D(q.x, -q.z);
            take = m_robots[cur].m_hp < 1 || (-q.z > 0.0f && std::fabs(bearingP) < std::fabs(bearingCur));
        }
        if (!take) continue;
        // Candidates before p were compared with the old target: ask again next step.
        cur = p;
        robot->m_target = &m_robots[p];
        robot->m_nextTargetRequest = true;
    }
}
