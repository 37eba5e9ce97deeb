// The robot's weapon list, its five shot slots and its energy: a script's fire request is
// checked and paid here at once and then waits in a shot slot for the battle to launch it.
// Also the small operations every script uses to stop the robot and start an animation.
#include "action_helpers.h"
#include "robot.h"

#include "math_ops.h"

#include <climits>

namespace {

// A side asked for by mount: right-arm mounts, left-arm mounts, everything else.
const char* SideOfMount(int mount) {
    if (mount == 1 || mount == 3) return "R";
    if (mount == 2 || mount == 4) return "L";
    return "S";
}

// A cost or amount below zero would pay energy out; it is taken as free (the robot type's
// unset dash costs are negative, for one).
int NonNegative(int amount) { return amount < 0 ? 0 : amount; }

void RaiseRequest(CRobot& r, std::string_view kind, int mount, const char* side, const Vec3& offset, const Vec3& dir) {
    CShotSlots& shots = r.m_shotSlots;
    int free = -1;
    for (int i = 0; i < shots.count && i < kShotSlotCount; ++i) {
        if (!shots.slots[i].inUse) {
            free = i;
            break;
        }
    }
    if (free < 0) return;  // every slot raised this step: dropped, unpaid
    if (!r.ConsumeShot(kind, side)) return;
    CShotSlot& s = shots.slots[free];
    s.name.assign(kind.data(), kind.size());
    s.inUse = true;
    s.mount = mount;
    s.offset = offset;
    s.direction = dir;
}

}  // namespace

void CRobot::ScaleAmmo(double factor) {
    for (int i = 0; i < m_weapons.count && i < kWeaponSlotCount; ++i) {
        int& ammo = m_weapons.slots[i].ammo;
        if (ammo == -1) continue;
        double scaled = ammo * factor;
        // Truncated toward zero; kept within int so a huge factor cannot overflow.
        if (!(scaled > INT_MIN)) scaled = INT_MIN;
        if (scaled > INT_MAX) scaled = INT_MAX;
        ammo = static_cast<int>(scaled);
    }
}

bool CRobot::ConsumeShot(std::string_view kind, std::string_view side) {
    CWeaponSlot* w = nullptr;
    for (int i = 0; i < m_weapons.count && i < kWeaponSlotCount; ++i) {
        CWeaponSlot& c = m_weapons.slots[i];
        if (!NameContains(kind, c.code.c_str())) continue;
        if (!side.empty() && c.side != side) continue;
        w = &c;
        break;
    }
    if (!w) return true;  // effects, hit boxes and scripted shots cost nothing here
    const int cost = NonNegative(w->cost);
    // -1 is unlimited; 0, and any other negative count, has nothing left to fire.
    if (m_ep < cost || (w->ammo != -1 && w->ammo <= 0)) {
        QueueSlot(*this, kActStagger);
        return false;
    }
    if (w->ammo > 0) w->ammo -= 1;
    m_ep -= cost;
    return true;
}

void CRobot::FireWeapon(std::string_view kind, int mount, const Vec3& offset, const Vec3& direction) {
    Vec3 dir = direction;
    if (dir.x == 1.0f && dir.y == 1.0f && dir.z == 1.0f) dir = -m_frames[11].GetWorldAxisZ();
    RaiseRequest(*this, kind, mount, SideOfMount(mount), offset, dir);
}

void CRobot::FireWeaponAt(std::string_view kind, const Vec3& position, const Vec3& direction) {
    RaiseRequest(*this, kind, 0, "", position, direction);
}

void CRobot::UseEnergy(int amount) {
    amount = NonNegative(amount);
    if (m_ep < amount) {
        QueueSlot(*this, kActStagger);
        return;
    }
    m_ep -= amount;
    if (m_ep <= 0) {
        m_ep = 0;
        QueueSlot(*this, kActStagger);
    }
}

void CRobot::ClearVelocity() {
    for (double& v : m_velocity) v = 0;
    m_moveSpeed[0] = 0;
    m_moveSpeed[1] = 0;
}

void CRobot::ClearTurnRate() {
    for (double& t : m_turnRate) t = 0;
}

void CRobot::SetAnimation(const std::string& name) {
    m_animName = name;
    m_animKey = 0;
    m_animFrame = 0;
    m_twistTarget = 0;
}

float CRobot::Distance(float x1, float y1, float z1, float x2, float y2, float z2) {
    const float dx = x1 - x2, dy = y1 - y2, dz = z1 - z2;
    return SqrtF(dx * dx + dy * dy + dz * dz);
}
