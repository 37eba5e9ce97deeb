// Two robots trading every kind of projectile for a minute of battle (1,800 steps) through the
// four passes in battle order: nothing escapes the pool's rules, no value turns to NaN, and two
// runs from the same seed give the same state after every step.
#include "projectile_fixture.h"

#include "sys_rand.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kSoakSteps = 1800;

struct Hasher {
    uint64_t h = 1469598103934665603ull;
    void Bytes(const void* p, size_t n) {
        const unsigned char* b = static_cast<const unsigned char*>(p);
        for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    }
    void Int(int v) { Bytes(&v, sizeof v); }
    void Float(float v) { Bytes(&v, sizeof v); }
    void Vec(const Vec3& v) {
        Float(v.x);
        Float(v.y);
        Float(v.z);
    }
};

bool Finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

class ProjectileSoak : public ProjectileWorld {
protected:
    // One run; the hash of the pool and both robots after every step.
    std::vector<uint64_t> Run(unsigned seed) {
        GameSrand(seed);
        BuildRobotsAndPool();
        for (int i = 0; i < 2; ++i) robots[i].m_maxHp = robots[i].m_hp = 1000000;  // up for the whole run
        std::vector<uint64_t> hashes;
        for (int step = 0; step < kSoakSteps; ++step) {
            for (int i = 0; i < 2; ++i) {
                CRobot& r = robots[i];
                if (GameRand() % 4) continue;
                const SKindRow& kind = kKindTable[GameRand() % kKindRows];
                Vec3 from = r.m_frames[1].GetWorldPosition();
                Vec3 to = r.m_target->GetHitCentre() - from;
                to.x += (float)(GameRand() % 200 - 100) / 100.0f;
                r.FireWeaponAt(kind.name, from, to);
            }
            pool->Spawn(robots.get(), 2);
            pool->Update(&ground);
            pool->CheckCollisions();
            CRobot* finisher = nullptr;
            CRobot* defeated = nullptr;
            pool->CheckHits(robots.get(), 2, &finisher, &defeated);
            Hasher h;
            for (int i = 0; i < kProjectilePool; ++i) {
                const CProjectile& p = Record(i);
                EXPECT_TRUE(Finite(p.GetPosition())) << "record " << i << " step " << step;
                h.Int(p.GetStateCode());
                h.Int(p.m_frame);
                h.Int(p.m_impact);
                h.Vec(p.GetPosition());
            }
            for (int i = 0; i < 2; ++i) {
                const CRobot& r = robots[i];
                EXPECT_GE(r.m_ap, 0);
                EXPECT_GE(r.m_vp, 0);
                h.Int(r.m_hp);
                h.Int(r.m_ap);
                h.Int(r.m_vp);
                for (double v : r.m_velocity) h.Bytes(&v, sizeof v);
            }
            EXPECT_LE(pool->CountBusy(), kProjectilePool);
            hashes.push_back(h.h);
        }
        return hashes;
    }
};

TEST_F(ProjectileSoak, AMinuteOfFireRunsCleanAndTheSameTwice) {
    std::vector<uint64_t> first = Run(1234);
    int hits = 1000000 - robots[0].m_hp + 1000000 - robots[1].m_hp;
    EXPECT_GT(hits, 0);  // they did hit each other
    std::vector<uint64_t> second = Run(1234);
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) ASSERT_EQ(first[i], second[i]) << "step " << i;
}

}  // namespace
