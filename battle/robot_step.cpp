// One step of one robot: counters and regeneration, tracking, the action script, motion with
// the push that keeps robots apart, pose and joints, and the muzzle pass that turns this step's
// fire requests into world positions and directions for the projectile launch.
#include "robot.h"

#include "action_helpers.h"
#include "camera.h"

#include <algorithm>

namespace {

// Actions during which a still robot regains no balance.
const char* const kNoRegenParts[] = {"ショット", "ブレード", "格闘"};

constexpr double kStillSpeed = 0.02;     // below this a move speed counts as standing
constexpr double kOnGround = 0.1;        // height under which VP regenerates
constexpr float kBankDecay = 0.9f;
constexpr float kSeparation = 0.5f;      // roots closer than this push apart
const double kPushSpeed = double(0.1f);  // sideways speed of the push, set not added
constexpr float kMuzzleTilt = 1.57f;     // hand weapons fire along their turned Z axis

void CountUp(int& counter) { counter = std::min(counter + 1, kStepCounterCap); }

// The frame's world position after moving it along its own axes by v; the frame is left
// exactly as it was (its matrix restored, not moved back, so no rounding creeps in).
Vec3 WorldPointAlong(C3DObject& frame, const Vec3& v) {
    Mat4 saved = frame.m_matrix;
    frame.Translate(v);
    Vec3 p = frame.GetWorldPosition();
    frame.m_matrix = saved;
    return p;
}

// The frame's world Z axis while it is turned about its own X axis by the tilt.
Vec3 TiltedWorldAxisZ(C3DObject& frame) {
    Mat4 saved = frame.m_matrix;
    frame.RotateX(kMuzzleTilt);
    Vec3 z = frame.GetWorldAxisZ();
    frame.m_matrix = saved;
    return z;
}

}  // namespace

void CRobot::Update(C3DObject* ground, int slot, CRobot* robots, int count) {
    Tick();
    TrackTarget();
    DecayAuxParts();
    UpdateAction();
    Move(ground, slot, robots, count);
    SelectPose();
    UpdateJointRotations();
    SpinAuxParts();
    UpdateMuzzles();
}

void CRobot::Tick() {
    CountUp(m_framesSinceDamage);
    CountUp(m_sinceDown);
    CountUp(m_stepCounter);

    bool still = m_groundHeight < kOnGround && (m_moveSpeed[0] < kStillSpeed && m_moveSpeed[0] > -kStillSpeed) &&
                 (m_moveSpeed[1] < kStillSpeed && m_moveSpeed[1] > -kStillSpeed);
    bool busy = m_currentAction == m_actionNames[kActHitStun];
    for (const char* part : kNoRegenParts) busy = busy || NameContains(m_currentAction, part);
    if (still && !busy) m_vp += m_vpRegen;
    m_vp = std::min(m_vp, m_maxVp);

    m_ep = std::max(std::min(m_ep + m_epPerStep, m_maxEp), 0);
    if (m_invincible > 0) --m_invincible;
    m_turnRate[0] = m_turnRate[1] = m_turnRate[2] = 0;
    m_bank *= kBankDecay;
}

void CRobot::Move(C3DObject* ground, int slot, CRobot* robots, int count) {
    IntegrateMotion(ground);
    if (count != 0) SeparateRobots(ground, slot, robots, count);
    ApplyVelocity(ground);
}

void CRobot::SeparateRobots(C3DObject*, int slot, CRobot* robots, int count) {
    if (!robots) return;
    Vec3 own = m_frames[kRootFrame].GetWorldPosition();
    for (int j = 0; j < count && j < kMaxRobots; ++j) {
        if (j == slot || robots[j].m_hp <= 0) continue;
        Vec3 other = robots[j].m_frames[kRootFrame].GetWorldPosition();
        if (GetDistanceVec(own, other) >= kSeparation) continue;
        m_velocity[0] = own.x - other.x >= 0 ? kPushSpeed : -kPushSpeed;
        m_velocity[2] = own.z - other.z >= 0 ? kPushSpeed : -kPushSpeed;
    }
}

void CRobot::UpdateMuzzles() {
    const int count = std::min(m_shotSlots.count, kShotSlotCount);
    for (int i = 0; i < count; ++i) {
        CShotSlot& shot = m_shotSlots.slots[i];
        if (!shot.inUse) continue;
        switch (shot.mount) {
        case 1: shot.offset = WorldPointAlong(m_frames[kRightHandFrame], m_mountPoints[3]); break;
        case 2: shot.offset = WorldPointAlong(m_frames[kLeftHandFrame], m_mountPoints[2]); break;
        case 3:
        case 4: {
            C3DObject& hand = m_frames[shot.mount == 3 ? kRightHandFrame : kLeftHandFrame];
            shot.offset = WorldPointAlong(hand, m_mountPoints[shot.mount == 3 ? 3 : 2] + shot.offset);
            shot.direction = TiltedWorldAxisZ(hand);
            break;
        }
        case 10: shot.offset = WorldPointAlong(m_frames[kRootFrame], shot.offset); break;
        case 14:
        case 15: {
            // The aux parts fire from where the drawing shows them: with the body's twist and
            // bank applied to the root for the moment.
            C3DObject& root = m_frames[kRootFrame];
            Mat4 saved = root.m_matrix;
            root.RotateY(m_twist);
            root.RotateZ(m_bank);
            C3DObject& part = m_frames[shot.mount];
            shot.offset = WorldPointAlong(part, m_mountPoints[shot.mount == 14 ? 6 : 7]);
            shot.direction = -part.GetWorldAxisZ();
            root.m_matrix = saved;
            break;
        }
        default: break;  // 0: a world position already
        }
    }
}
