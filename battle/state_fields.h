// The simulation's fields in one fixed order, each with its name: the state hash digests them
// and the state dump prints them, so a hash difference always has a dump line that names it.
// Pointers go in as slot numbers, so nothing depends on where the battle sits in memory.
#pragma once

#include "battle.h"

// A visitor has:
//   void Enter(const char* name, int index);   // a group: "robot[2]", "projectile[17]" (-1: no index)
//   void Leave();
//   void Field(const char* name, const T& value);              // one value of the current group
//   void Item(const char* name, int index, const T& value);    // element of an array field
// for T in int, bool, float, double, Vec3, Mat4 and std::string.
namespace state_fields {

// A node pointer as (robot slot, frame) when it is one of the battle's robot frames; slot -1
// for none and -2 for any other node, frame -1 then.
template <class V>
void VisitRobotNode(V& v, const char* name, const C3DObject* node, const CBattle& battle) {
    int slot = node ? -2 : -1, frame = -1;
    for (int i = 0; i < kMaxRobots && slot == -2; ++i)
        for (int f = 0; f < kRobotFrameCount; ++f)
            if (node == &battle.m_robots[i].m_frames[f]) {
                slot = i;
                frame = f;
                break;
            }
    v.Item(name, 0, slot);
    v.Item(name, 1, frame);
}

template <class V>
void VisitRobot(V& v, const CRobot& r, const CBattle& battle) {
    for (int f = 0; f < kRobotFrameCount; ++f) v.Item("frame", f, r.m_frames[f].m_matrix);
    v.Field("shadow", r.m_shadow.m_matrix);
    v.Field("target", battle.SlotOf(r.m_target));
    for (int i = 0; i < kAuxPartCount; ++i) {
        v.Item("auxMode", i, r.m_auxMode[i]);
        v.Item("auxCounter", i, r.m_auxCounter[i]);
        v.Item("auxSpeed", i, r.m_auxSpeed[i]);
        v.Item("auxTargetSpeed", i, r.m_auxTargetSpeed[i]);
    }
    v.Field("twistTarget", r.m_twistTarget);
    v.Field("twist", r.m_twist);
    v.Field("heldTwist", r.m_heldTwist);
    v.Field("bank", r.m_bank);
    for (int f = 0; f < kRobotFrameCount; ++f)
        for (int a = 0; a < 3; ++a) v.Item("angles", f * 3 + a, r.m_angles[f][a]);
    for (int f = 0; f < kRobotFrameCount; ++f)
        for (int a = 0; a < 3; ++a) v.Item("targetAngles", f * 3 + a, r.m_targetAngles[f][a]);
    for (int f = 0; f < kRobotFrameCount; ++f)
        for (int a = 0; a < 3; ++a) v.Item("angleSteps", f * 3 + a, r.m_angleSteps[f][a]);
    for (int i = 0; i < 2; ++i) v.Item("moveSpeed", i, r.m_moveSpeed[i]);
    for (int i = 0; i < 3; ++i) v.Item("velocity", i, r.m_velocity[i]);
    for (int i = 0; i < 3; ++i) v.Item("turnRate", i, r.m_turnRate[i]);
    for (int i = 0; i < 3; ++i) v.Item("lastPosition", i, r.m_lastPosition[i]);
    v.Field("groundHeight", r.m_groundHeight);
    v.Field("blocked", r.m_blocked);
    v.Field("hp", r.m_hp);
    v.Field("ap", r.m_ap);
    v.Field("vp", r.m_vp);
    v.Field("ep", r.m_ep);
    v.Field("lastDamage", r.m_lastDamage);
    v.Field("comboDamage", r.m_comboDamage);
    v.Field("framesSinceDamage", r.m_framesSinceDamage);
    v.Field("sinceDown", r.m_sinceDown);
    v.Field("stepCounter", r.m_stepCounter);
    v.Field("invincible", r.m_invincible);
    v.Field("moveState", r.m_moveState);
    v.Field("maxHp", r.m_maxHp);
    v.Field("maxEp", r.m_maxEp);
    v.Field("trackFlag", int(r.m_trackFlag));
    for (int i = 0; i < kShotSlotCount; ++i) {
        const CShotSlot& s = r.m_shotSlots.slots[i];
        v.Enter("shot", i);
        v.Field("name", s.name);
        v.Field("inUse", s.inUse);
        v.Field("mount", s.mount);
        v.Field("offset", s.offset);
        v.Field("direction", s.direction);
        v.Leave();
    }
    for (int i = 0; i < kWeaponSlotCount; ++i) {
        const CWeaponSlot& w = r.m_weapons.slots[i];
        v.Enter("weapon", i);
        v.Field("code", w.code);
        v.Field("ammo", w.ammo);
        v.Field("cost", w.cost);
        v.Field("side", w.side);
        v.Leave();
    }
    v.Field("weaponCount", r.m_weapons.count);
    v.Field("nextTargetRequest", r.m_nextTargetRequest);
    v.Field("lockOn", r.m_lockOn);
    v.Field("teamCode", r.m_teamCode);
    for (int i = 0; i < kInputCount; ++i) v.Item("input", i, r.m_input[i]);
    for (int i = 0; i < kInputCount; ++i) v.Item("padState", i, r.m_padState[i]);
    v.Field("currentAction", r.m_currentAction);
    v.Field("previousAction", r.m_previousAction);
    v.Field("nextAction", r.m_nextAction);
    v.Field("actionFrame", r.m_actionFrame);
    for (int i = 0; i < 3; ++i) v.Item("actionParam", i, r.m_actionParam[i]);
    v.Field("animName", r.m_animName);
    v.Field("animKey", r.m_animKey);
    v.Field("animFrame", r.m_animFrame);
    v.Field("animMode", r.m_animMode);
    v.Field("poseName", r.m_poseName);
    v.Field("poseFrame", r.m_poseFrame);
    v.Field("poseDuration", r.m_poseDuration);
    v.Field("poseTwist", r.m_poseTwist);
    // Set-up values the step reads: a peer built with other stats computes another battle.
    v.Field("animKeyFrames", r.m_animKeyFrames);
    for (int i = 0; i < kRotationOrderCount; ++i) v.Item("rotationOrder", i, r.m_rotationOrder[i]);
    v.Field("legLength", r.m_legLength);
    for (int i = 0; i < kMountPointCount; ++i) v.Item("mountPoint", i, r.m_mountPoints[i]);
    v.Field("weaponId", r.m_weaponId);
    v.Field("maxAp", r.m_maxAp);
    v.Field("armour", r.m_armour);
    v.Field("maxVp", r.m_maxVp);
    v.Field("vpRegen", r.m_vpRegen);
    v.Field("knockback", r.m_knockback);
    v.Field("epPerStep", r.m_epPerStep);
    v.Field("dashStartEnergy", r.m_dashStartEnergy);
    v.Field("dashStepEnergy", r.m_dashStepEnergy);
    v.Field("loadCapacity", r.m_loadCapacity);
    v.Field("trackStyle", r.m_trackStyle);
    for (int i = 0; i < 4; ++i) v.Item("partWeight", i, r.m_partWeights[i]);
    for (int i = 0; i < 2; ++i) v.Item("turnSubMode", i, r.m_turnSubMode[i]);
    v.Field("walkSpeed", r.m_walkSpeed);
    v.Field("dashSpeed", r.m_dashSpeed);
    v.Field("turnSpeed", r.m_turnSpeed);
    v.Field("groundDamping", r.m_groundDamping);
    v.Field("aloftDamping", r.m_aloftDamping);
    v.Field("jumpSpeed", r.m_jumpSpeed);
    v.Field("gravity", r.m_gravity);
    v.Field("walkTurnFactor", r.m_walkTurnFactor);
    v.Field("attackTurnScale", r.m_attackTurnScale);
    for (int i = 0; i < kActionNameCount; ++i) v.Item("actionName", i, r.m_actionNames[i]);
    v.Field("shotSlotCount", r.m_shotSlots.count);
    v.Field("weaponCapacity", r.m_weapons.capacity);
}

template <class V>
void VisitProjectile(V& v, const CProjectile& p, const CBattle& battle) {
    v.Field("stateCode", p.GetStateCode());
    if (p.IsFree()) return;
    v.Field("state", p.m_state);
    v.Field("label", p.m_label);
    v.Field("frame", p.m_frame);
    v.Field("lifetime", p.m_lifetime);
    v.Field("step", p.m_step);
    v.Field("flight", p.m_flight.m_matrix);
    v.Field("hit", p.m_hit.m_matrix);
    v.Field("terrain", p.m_terrain.m_matrix);
    v.Field("owner", battle.SlotOf(p.m_owner));
    VisitRobotNode(v, "targetFrame", p.m_targetFrame, battle);
    v.Field("previousTarget", p.m_previousTarget);
    v.Field("lead", p.m_lead);
    v.Field("hitResult", p.m_hitResult);
    v.Field("hpDamage", p.m_hpDamage);
    v.Field("apDamage", p.m_apDamage);
    v.Field("impact", p.m_impact);
    // The kind's values, set at launch from the label and read by flight and hits.
    v.Field("labelCode", p.GetLabelCode());
    v.Field("turnRate", p.m_turnRate);
    v.Field("homingRange", p.m_homingRange);
    v.Field("steerBehind", int(p.m_steerBehind));
    v.Field("explosive", int(p.m_explosive));
    v.Field("blastHpDamage", p.m_blastHpDamage);
    v.Field("blastApDamage", p.m_blastApDamage);
    v.Field("blastImpact", p.m_blastImpact);
    v.Field("hitRadius", p.m_hitRadius);
    v.Field("blastRadius", p.m_blastRadius);
    v.Field("downOnHit", int(p.m_downOnHit));
    v.Field("downOnBlast", int(p.m_downOnBlast));
    v.Field("hitMode", p.m_hitMode);
}

// In the fight the frames in phase count drawn frames, which differ between games that run
// one to three steps a frame, and nothing of the simulation reads them there: they count
// only in the phases every game runs frame for frame.
inline bool PhaseFramesCount(int phase) {
    return phase != kPhaseFight && phase != kPhasePlain && phase != kPhaseFreeCamera;
}

template <class V>
void VisitBattle(V& v, const CBattle& b) {
    v.Field("phase", b.m_phase);
    v.Field("phaseFrames", PhaseFramesCount(b.m_phase) ? b.m_phaseFrames : 0);
    v.Field("over", int(b.m_over));
    v.Field("result", b.m_result);
    v.Field("clock", b.m_clock);
    v.Field("robotCount", b.m_robotCount);
    v.Field("ownIndex", b.m_ownIndex);
    v.Field("mission", b.m_mission);
    v.Field("resultText", b.m_resultText);
    for (int i = 0; i < b.m_robotCount && i < kMaxRobots; ++i) {
        v.Enter("robot", i);
        VisitRobot(v, b.m_robots[i], b);
        v.Leave();
    }
    v.Field("projectileCursor", b.m_projectiles.GetCursor());
    for (int i = 0; i < kProjectilePool; ++i) {
        v.Enter("projectile", i);
        VisitProjectile(v, b.m_projectiles.GetRecord(i), b);
        v.Leave();
    }
}

}  // namespace state_fields
