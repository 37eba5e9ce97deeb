// The battle's passes over its pool of one hundred projectile records: launching the robots'
// fire requests into the first free records, the per-step update, the wear between records
// and the hits on robots.
#include "projectile_pool.h"

#include "robot.h"

void CProjectilePool::Reset(CEffectStore* store) {
    m_store = store;
    m_count = kProjectilePool;
    m_cursor = 1;
    for (CProjectile& p : m_records) {
        p.LoadSounds();
        if (m_store) m_store->InitProjectile(&p, "ショット１");
    }
}

int CProjectilePool::Launch(const Vec3& position, const Vec3& direction, C3DObject* targetFrame,
                            const char* kindName, CRobot* owner) {
    for (int i = 0; i < m_count; ++i) {
        CProjectile& p = m_records[i];
        if (!p.IsFree()) continue;
        if (m_store) m_store->InitProjectile(&p, kindName);
        p.Arm(position, direction, targetFrame, owner);
        m_cursor = i;
        return i;
    }
    return -1;
}

void CProjectilePool::Spawn(CRobot* robots, int robotCount) {
    for (int r = 0; r < robotCount; ++r) {
        CRobot& robot = robots[r];
        C3DObject* target = robot.m_target ? &robot.m_target->m_frames[kRootFrame] : nullptr;
        for (int s = 0; s < robot.m_shotSlots.count && s < kShotSlotCount; ++s) {
            CShotSlot& slot = robot.m_shotSlots.slots[s];
            if (!slot.inUse) continue;
            slot.inUse = false;
            // After the muzzle pass the offset holds the world muzzle position.
            Launch(slot.offset, slot.direction, target, slot.name.c_str(), &robot);
        }
    }
}

void CProjectilePool::Update(const C3DObject* ground) {
    for (int i = 0; i < m_count; ++i) m_records[i].Update(ground);
}

namespace {

// True only when the wear test would find b beyond a's reach r: its float distance is a
// correctly rounded square root, and the margin here is far wider than its rounding. Tiny,
// odd or unbounded values are left to the full test.
bool Beyond(float r, const Vec3& a, const Vec3& b) {
    if (!(r >= 0)) return false;
    const Vec3 d = b - a;
    const double s = double(d.x) * d.x + double(d.y) * d.y + double(d.z) * d.z;
    return s > 1e-30 && double(r) * r < s * (1 - 1e-5);
}

}  // namespace

void CProjectilePool::CheckCollisions() {
    // Each record's place, reach and owner, read once; only a pair the full test acts on can
    // change them, and then both records are read again.
    Vec3 at[kProjectilePool];
    float reach[kProjectilePool];
    const CRobot* owner[kProjectilePool];
    auto read = [&](int k) {
        at[k] = m_records[k].GetPosition();
        reach[k] = m_records[k].GetHitRadius();
        owner[k] = m_records[k].m_owner;
    };
    for (int k = 0; k < m_count; ++k) read(k);
    for (int i = 0; i < m_count; ++i) {
        if (!m_records[i].IsActive()) continue;
        for (int j = 0; j < m_count; ++j) {
            // A record that wore itself out in an earlier pair still meets the rest.
            if (j == i || !m_records[j].IsActive()) continue;
            // Records of one owner, or out of reach, pass the full test untouched.
            if (owner[i] == owner[j] || Beyond(reach[i], at[i], at[j])) continue;
            m_records[i].Collide(&m_records[j]);
            read(i);
            read(j);
        }
    }
}

void CProjectilePool::CheckHits(CRobot* robots, int robotCount, CRobot** finisher, CRobot** defeated) {
    // Each robot's hit centre, worked out once: only a hit on the robot can move it, and then
    // it is worked out again.
    Vec3 centre[kMaxRobots];
    bool known[kMaxRobots] = {};
    for (int i = 0; i < m_count; ++i) {
        CProjectile& p = m_records[i];
        if (!p.IsActive()) continue;
        for (int j = 0; j < robotCount; ++j) {
            if (j >= kMaxRobots) {
                p.CheckHit(&robots[j]);
            } else {
                if (!known[j]) centre[j] = robots[j].GetHitCentre();
                known[j] = true;
                p.CheckHit(&robots[j], centre[j]);
                if (p.m_hitResult != 0) known[j] = false;
            }
            if (p.m_hitResult == 2) {
                if (finisher) *finisher = p.m_owner;
                if (defeated) *defeated = &robots[j];
            }
        }
    }
}

int CProjectilePool::CountBusy() const {
    int n = 0;
    for (int i = 0; i < m_count; ++i) n += m_records[i].IsFree() ? 0 : 1;
    return n;
}
