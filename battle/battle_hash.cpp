// The battle's state hash: everything the simulation reads and writes (robots, projectiles,
// clock, phase), with pointers taken as slot numbers so the value does not depend on where
// the battle happens to sit in memory. The view, banners and drawing are left out on purpose.
#include "battle.h"
#include "state_hash.h"

namespace {

void HashRobot(CStateHash& h, const CRobot& r, const CBattle& battle) {
    for (const C3DObject& f : r.m_frames) h.Add(f.m_matrix);
    h.Add(r.m_shadow.m_matrix);
    h.Add(battle.SlotOf(r.m_target));
    for (int i = 0; i < kAuxPartCount; ++i) {
        h.Add(r.m_auxMode[i]);
        h.Add(r.m_auxCounter[i]);
        h.Add(r.m_auxSpeed[i]);
        h.Add(r.m_auxTargetSpeed[i]);
    }
    h.Add(r.m_twistTarget);
    h.Add(r.m_twist);
    h.Add(r.m_heldTwist);
    h.Add(r.m_bank);
    h.AddBytes(r.m_angles, sizeof r.m_angles);
    h.AddBytes(r.m_targetAngles, sizeof r.m_targetAngles);
    h.AddBytes(r.m_angleSteps, sizeof r.m_angleSteps);
    for (double v : r.m_moveSpeed) h.Add(v);
    for (double v : r.m_velocity) h.Add(v);
    for (double v : r.m_turnRate) h.Add(v);
    for (double v : r.m_lastPosition) h.Add(v);
    h.Add(r.m_groundHeight);
    h.Add(r.m_blocked);
    for (int v : {r.m_hp, r.m_ap, r.m_vp, r.m_ep, r.m_lastDamage, r.m_comboDamage, r.m_framesSinceDamage,
                  r.m_sinceDown, r.m_stepCounter, r.m_invincible, r.m_moveState, r.m_maxHp, r.m_maxEp})
        h.Add(v);
    h.Add(int(r.m_trackFlag));
    for (int i = 0; i < kShotSlotCount; ++i) {
        const CShotSlot& s = r.m_shotSlots.slots[i];
        h.Add(s.name);
        h.Add(s.inUse);
        h.Add(s.mount);
        h.Add(s.offset);
        h.Add(s.direction);
    }
    for (int i = 0; i < kWeaponSlotCount; ++i) {
        const CWeaponSlot& w = r.m_weapons.slots[i];
        h.Add(w.code);
        h.Add(w.ammo);
        h.Add(w.cost);
        h.Add(w.side);
    }
    h.Add(r.m_weapons.count);
    h.Add(r.m_nextTargetRequest);
    h.Add(r.m_lockOn);
    h.Add(r.m_teamCode);
    for (bool b : r.m_input) h.Add(b);
    for (int v : r.m_padState) h.Add(v);
    h.Add(r.m_currentAction);
    h.Add(r.m_previousAction);
    h.Add(r.m_nextAction);
    h.Add(r.m_actionFrame);
    for (double v : r.m_actionParam) h.Add(v);
    h.Add(r.m_animName);
    h.Add(r.m_animKey);
    h.Add(r.m_animFrame);
    h.Add(r.m_animMode);
    h.Add(r.m_poseName);
    h.Add(r.m_poseFrame);
    h.Add(r.m_poseDuration);
    h.Add(r.m_poseTwist);
    // Set-up values the step reads: a peer built with other stats computes another battle.
    h.Add(r.m_animKeyFrames);
    for (int v : r.m_rotationOrder) h.Add(v);
    h.Add(r.m_legLength);
    for (const Vec3& v : r.m_mountPoints) h.Add(v);
    for (int v : {r.m_weaponId, r.m_maxAp, r.m_armour, r.m_maxVp, r.m_vpRegen, r.m_knockback, r.m_epPerStep,
                  r.m_dashStartEnergy, r.m_dashStepEnergy, r.m_loadCapacity, r.m_trackStyle})
        h.Add(v);
    for (int v : r.m_partWeights) h.Add(v);
    for (int v : r.m_turnSubMode) h.Add(v);
    for (double v : {r.m_walkSpeed, r.m_dashSpeed, r.m_turnSpeed, r.m_groundDamping, r.m_aloftDamping,
                     r.m_jumpSpeed, r.m_gravity, r.m_walkTurnFactor, r.m_attackTurnScale})
        h.Add(v);
    for (const std::string& name : r.m_actionNames) h.Add(name);
}

// A node pointer as (robot slot, frame) when it is one of the battle's robot frames.
void HashRobotNode(CStateHash& h, const C3DObject* node, const CBattle& battle) {
    for (int i = 0; i < kMaxRobots; ++i)
        for (int f = 0; f < kRobotFrameCount; ++f)
            if (node == &battle.m_robots[i].m_frames[f]) {
                h.Add(i);
                h.Add(f);
                return;
            }
    h.Add(node ? -2 : -1);
}

void HashProjectile(CStateHash& h, const CProjectile& p, const CBattle& battle) {
    h.Add(p.GetStateCode());
    if (p.IsFree()) return;
    h.Add(p.m_state);
    h.Add(p.m_label);
    h.Add(p.m_frame);
    h.Add(p.m_lifetime);
    h.Add(p.m_step);
    h.Add(p.m_flight.m_matrix);
    h.Add(p.m_hit.m_matrix);
    h.Add(p.m_terrain.m_matrix);
    h.Add(battle.SlotOf(p.m_owner));
    HashRobotNode(h, p.m_targetFrame, battle);
    h.Add(p.m_previousTarget);
    h.Add(p.m_lead);
    h.Add(p.m_hitResult);
    h.Add(p.m_hpDamage);
    h.Add(p.m_apDamage);
    h.Add(p.m_impact);
}

}  // namespace

uint64_t CBattle::HashState() const {
    CStateHash h;
    h.Add(m_phase);
    h.Add(m_phaseFrames);
    h.Add(int(m_over));
    h.Add(m_result);
    h.Add(m_clock);
    h.Add(m_robotCount);
    h.Add(m_ownIndex);
    h.Add(m_mission);
    h.Add(m_resultText);
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) HashRobot(h, m_robots[i], *this);
    h.Add(m_projectiles.GetCursor());
    for (int i = 0; i < kProjectilePool; ++i) HashProjectile(h, m_projectiles.GetRecord(i), *this);
    return h.Value();
}
