// Hits of one record: direct hits of a flying record, tested along the whole distance it moved
// this step so fast shots cannot pass through a robot, blasts on three frames of an explosive
// record's effect, and the wear that records of different owners take from each other.
#include "projectile.h"

#include "camera.h"
#include "robot.h"

#include <cstdint>

namespace {

const Vec3 kUp(0, 1, 0);

// Worn records keep meeting each other step after step, and a negative reserve taken off
// another raises it: the reserves are held inside the int range instead of overflowing.
int WearDown(int reserve, int wear) {
    int64_t r = (int64_t)reserve - (int64_t)wear;
    if (r > INT32_MAX) return INT32_MAX;
    if (r < INT32_MIN) return INT32_MIN;
    return (int)r;
}

}  // namespace

void CProjectile::CheckHit(CRobot* robot) { CheckHit(robot, robot->GetHitCentre()); }

void CProjectile::CheckHit(CRobot* robot, const Vec3& c) {
    m_hitResult = 0;
    if (!IsActive() || robot->m_maxHp <= 0 || robot->m_hp <= 0) return;
    const Vec3 position = GetPosition();
    if (m_stateCode == kStateFlying) {
        if (robot == m_owner) return;
        const float r = GetHitRadius();
        bool hit = r > GetDistanceVec(c, position);
        if (r < m_step) {
            const Vec3 heading = GetHeading();
            for (float t = 0.5f; m_step - r + 0.5f > t; t += 0.5f)
                if (r > GetDistanceVec(c, position - heading * t)) hit = true;
        }
        if (!hit) return;
        m_jetSound.Stop();
        SetState(kStateHit);
        m_hit.SetOrientation(GetHeading(), kUp);
        m_hit.SetLocalPosition(position.x, position.y, position.z);
        const Vec3 d = GetHeading();
        robot->ApplyHit(GetHpDamage(), GetApDamage(), GetImpact(), d.x, d.y, d.z, m_downOnHit != 0);
    } else {
        if (!(GetHitRadius() > GetDistanceVec(c, position))) return;
        // A blast pushes away from its centre; its own robot is not spared.
        m_flight.SetOrientation(c - position, kUp);
        const Vec3 d = GetHeading();
        robot->ApplyHit(GetHpDamage(), GetApDamage(), GetImpact(), d.x, d.y, d.z, m_downOnBlast != 0);
    }
    if (m_owner) m_owner->m_stepCounter = 0;  // the HUD's steps since this robot's last hit landed
    m_hitResult = robot->m_hp <= 0 ? 2 : 1;
}

void CProjectile::Collide(CProjectile* other) {
    float d = GetDistanceVec(other->GetPosition(), GetPosition());
    if (GetHitRadius() < d || m_owner == other->m_owner) return;
    const int mine = GetImpact();
    const int theirs = other->GetImpact();
    m_impact = WearDown(m_impact, theirs);
    if (m_impact < 0) HitTerrain();
    other->m_impact = WearDown(other->m_impact, mine);
    if (other->m_impact < 0) other->HitTerrain();
}

// A robot that touched the help field brings its downed owner back.
void CProjectile::ReviveOwner() {
    m_owner->m_hp = 10;
    m_owner->m_invincible = 50;
}
