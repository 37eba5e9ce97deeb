// The battle's passes over its pool of one hundred projectile records: launching the robots'
// fire requests into the first free records, the per-step update, the wear between records
// and the hits on robots.
#include "projectile_pool.h"

#include "robot.h"

#include <algorithm>
#include <cmath>

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

// True only when the wear test would find a record at squared distance s (the float offset's
// components squared in double) beyond reach r: its float distance is a correctly rounded
// square root, and the margin here is far wider than its rounding. Tiny, odd or unbounded
// values are left to the full test.
bool Beyond(float r, double s) { return r >= 0 && s > 1e-30 && double(r) * r < s * (1 - 1e-5); }

}  // namespace

// Pairs are met as one loop over every active record, and for each every other in pool order,
// would meet them; what is skipped is only what that loop would find beyond reach. The squared
// distance is at least its x term, which only grows with the x distance, so for one reach the
// records not beyond it form a run in x order around the record itself. A record with a
// coordinate that is not finite is in no such run: the full test finds its distance NaN or
// infinite, and may wear it at any separation, so it meets every other record.
void CProjectilePool::CheckCollisions() {
    // Each record's place, reach and owner, read once; only a pair the full test acts on can
    // change the reach or owner, and then both are read again. No pair moves, frees or arms a
    // record, so the records active now are the ones every pair is drawn from, in pool order,
    // each at the place read here.
    int active[kProjectilePool];
    float x[kProjectilePool], y[kProjectilePool], z[kProjectilePool], reach[kProjectilePool];
    const CRobot* owner[kProjectilePool];
    bool odd[kProjectilePool];
    int count = 0;
    auto read = [&](int a) {
        reach[a] = m_records[active[a]].GetHitRadius();
        owner[a] = m_records[active[a]].m_owner;
    };
    for (int k = 0; k < m_count; ++k) {
        if (!m_records[k].IsActive()) continue;
        const Vec3 at = m_records[k].GetPosition();
        x[count] = at.x;
        y[count] = at.y;
        z[count] = at.z;
        odd[count] = !Vec3IsFinite(at);
        active[count] = k;
        read(count++);
    }
    // The records of finite place in x order, and the others.
    int byX[kProjectilePool], rank[kProjectilePool], odds[kProjectilePool];
    int placed = 0, oddCount = 0;
    for (int a = 0; a < count; ++a) {
        if (odd[a])
            odds[oddCount++] = a;
        else
            byX[placed++] = a;
    }
    std::sort(byX, byX + placed, [&](int p, int q) { return x[p] < x[q] || (x[p] == x[q] && p < q); });
    for (int k = 0; k < placed; ++k) rank[byX[k]] = k;
    // The other records that may be within reach r of record a, after record `after`, in pool
    // order.
    int near[kProjectilePool];
    auto gather = [&](int a, float r, int after) {
        int n = 0;
        if (odd[a] || !(r >= 0) || !(r <= 3.4e38f)) {
            for (int b = after + 1; b < count; ++b) near[n++] = b;
            return n;
        }
        auto far = [&](int b) {
            const float dx = x[b] - x[a];
            return Beyond(r, double(dx) * dx);
        };
        for (int k = rank[a] - 1; k >= 0 && !far(byX[k]); --k)
            if (byX[k] > after) near[n++] = byX[k];
        for (int k = rank[a] + 1; k < placed && !far(byX[k]); ++k)
            if (byX[k] > after) near[n++] = byX[k];
        for (int k = 0; k < oddCount; ++k)
            if (odds[k] > after) near[n++] = odds[k];
        std::sort(near, near + n);
        return n;
    };
    for (int a = 0; a < count; ++a) {
        int after = -1;
        for (bool again = true; again;) {
            again = false;
            const float r = reach[a];
            const int n = gather(a, r, after);
            for (int k = 0; k < n; ++k) {
                // A record that wore itself out in an earlier pair still meets the rest.
                const int b = near[k];
                if (b == a) continue;
                // Records of one owner, or out of reach, pass the full test untouched.
                const float dx = x[b] - x[a], dy = y[b] - y[a], dz = z[b] - z[a];
                if (owner[a] == owner[b] || Beyond(r, double(dx) * dx + double(dy) * dy + double(dz) * dz)) continue;
                m_records[active[a]].Collide(&m_records[active[b]]);
                read(a);
                read(b);
                // A changed reach draws the rest of the pairs again.
                if (!(reach[a] == r)) {
                    after = b;
                    again = true;
                    break;
                }
            }
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
