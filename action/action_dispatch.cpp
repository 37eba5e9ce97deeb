// The robot's action life cycle: the one-entry queue with "deff", and the per-step dispatcher
// that forces the automatic transitions, plays its own actions, runs the script groups in
// their fixed order and eases the body twist.
#include "action_helpers.h"
#include "action_registry.h"
#include "robot.h"

namespace {

// Texts of actions that are allowed off the ground without becoming the aerial jump.
const char* const kAloftNameParts[] = {"ジャンプ", "飛行", "ショット", "ブレード", "格闘", "空中ダッシュ"};

int IsSlot(const CRobot& r, int slot) { return r.m_currentAction == r.m_actionNames[slot]; }

int MayStayAloft(const CRobot& r) {
    for (const char* part : kAloftNameParts)
        if (NameContains(r.m_currentAction, part)) return 1;
    return IsSlot(r, kActAerialJump) || IsSlot(r, kActHitStun) || IsSlot(r, kActKnockDown) ||
           IsSlot(r, kActDestroyed);
}

void StopAndQueueStagger(CRobot& r) {
    r.m_moveSpeed[0] = 0;
    r.m_moveSpeed[1] = 0;
    QueueSlot(r, kActStagger);
}

// 1 when one of the automatic transitions applied (the dispatcher's own step is then skipped).
int RunAutomaticTransition(CRobot& r) {
    if (r.m_hp <= 0 && !IsSlot(r, kActDestroyed)) {
        QueueSlot(r, kActDestroyed);
        EndStep(r);
        return 1;
    }
    if (!MayStayAloft(r) && r.m_groundHeight > 0.5) {
        UseKeyPoses(r);
        QueueSlot(r, kActAerialJump);
        EndStep(r);
        return 1;
    }
    if (r.m_currentAction.empty()) {
        UseKeyPoses(r);
        QueueSlot(r, kActStance);
        EndStep(r);
        return 1;
    }
    // Landings only queue the stagger: the running action's own step ends it with "deff".
    if (r.m_groundHeight < kOffGround && r.m_velocity[1] < -0.15 && !IsSlot(r, kActStagger) &&
        !IsSlot(r, kActDestroyed) && !IsSlot(r, kActKnockDown)) {
        StopAndQueueStagger(r);
        return 1;
    }
    if (r.m_groundHeight < kOffGround && r.m_velocity[1] < 0 && IsSlot(r, kActAerialJump)) {
        StopAndQueueStagger(r);
        return 1;
    }
    return 0;
}

}  // namespace

// Single precision, as the drawing and the muzzles read it.
void EaseTwist(float* twist, float target) {
    float t = *twist;
    const float g = target;
    if (t - g > 3.14f) t -= 6.28f;
    if (g - t > 3.14f) t += 6.28f;
    if (t < g) t += 0.2f;
    if (t > g) t -= 0.2f;
    float d = t - g;
    if (d < 0) d = -d;
    if (d <= 0.2f) t = g;
    *twist = t;
}

bool CRobot::SetAction(const std::string& name) {
    if (name == kDeff) {
        if (m_nextAction.empty()) return false;
        m_actionFrame = 0;
        for (double& p : m_actionParam) p = 0;
        m_previousAction = m_currentAction;
        m_currentAction = m_nextAction;
        m_nextAction.clear();
        return true;
    }
    m_actionFrame = 0;
    for (double& p : m_actionParam) p = 0;
    m_currentAction = name;
    return true;
}

void CRobot::SetNextAction(std::string_view name) {
    if (m_nextAction.empty() && !name.empty()) m_nextAction.assign(name.data(), name.size());
}

void CRobot::UpdateAction() {
    m_actionFrame += 1;
    m_animMode = kAnimModeAngle;
    m_twistTarget = 0;
    if (!RunAutomaticTransition(*this)) {
        const SActionScript* own = FindActionScript(m_currentAction);
        if (own && own->group == kGroupDispatcher) {
            own->step(*this);
        } else if (!own && !IsSlot(*this, kActDestroyed)) {
            // A name no script knows (a build code can name one) would never end: the robot
            // goes back to its stance instead of standing frozen in it. A destroyed robot
            // stays down whatever its destruction is called.
            QueueSlot(*this, kActStance);
            EndStep(*this);
        }
    }
    RunBladeActions();
    RunMoveActions();
    RunFlightAndReactionActions();
    EaseTwist(&m_twist, m_twistTarget);
}

void CRobot::RunBladeActions() {
    RunActionGroups(*this, kGroupBladeFirst, kGroupBladeLast);
    RunMeleeActions();
    RunSwordActions();
    RunRocketActions();
}

void CRobot::RunMeleeActions() { RunActionGroups(*this, kGroupMeleeFirst, kGroupMeleeLast); }
void CRobot::RunSwordActions() { RunActionGroups(*this, kGroupSwordFirst, kGroupSwordLast); }
void CRobot::RunRocketActions() { RunActionGroups(*this, kGroupRocketFirst, kGroupRocketLast); }
void CRobot::RunMoveActions() { RunActionGroups(*this, kGroupMove, kGroupMove); }
void CRobot::RunFlightAndReactionActions() { RunActionGroups(*this, kGroupFlight, kGroupFlight); }
