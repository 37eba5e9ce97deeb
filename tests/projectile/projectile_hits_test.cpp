// Hits and wear: a flying record is tested along the distance it moved, never against its
// owner; blasts hit everyone on three frames; the robot left without HP is reported with its
// shooter; records of different owners wear down each other's impact.
#include "projectile_fixture.h"

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Robot 1's hit centre (its waist) is at (0, 1, 10).
const Vec3 kCentre(0, 1, 10);

TEST_F(ProjectileWorld, AFlyingShotIsTestedAlongTheStepItMoved) {
    struct Case {
        const char* kind;  // step and hit radius from the kind
        float behind;      // the robot's centre this far behind the shot, on its path
        bool hit;
    };
    const Case cases[] = {
        {"レーザー", 0.0f, true},      // step 2, radius 1: samples at 0, 0.5 and 1.0 behind
        {"レーザー", 1.95f, true},     // 0.95 from the last sample
        {"レーザー", 2.05f, false},    // 1.05 from it: no sample at 1.5
        {"レーザー", -0.99f, true},    // ahead, within the radius
        {"ショット２", 0.59f, true},   // step 0.4 < radius 0.6: only the position
        {"ショット２", 0.61f, false},
        {"ブースト", 0.0f, false},     // hit radius 0: effects never hit
        {"サテライト３", 0.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.behind));
        robots[1].m_hp = 100;
        robots[1].m_ap = 100;
        int i = Fire(c.kind, kCentre + Vec3(0, 0, c.behind), Vec3(0, 0, 1));
        CProjectile& p = Record(i);
        p.CheckHit(&robots[1]);
        EXPECT_EQ(p.m_hitResult, c.hit ? 1 : 0);
        EXPECT_EQ(p.m_state, c.hit ? "命中" : "飛行中");
        EXPECT_EQ(robots[1].m_hp < 100, c.hit);
        p.Free();
    }
}

TEST_F(ProjectileWorld, AShotNeverHitsItsOwnerButItsBlastDoes) {
    Vec3 own = robots[0].GetHitCentre();
    int i = Fire("グレネード１", own, Vec3(0, 0, 1));
    CProjectile& p = Record(i);
    p.CheckHit(&robots[0]);
    EXPECT_EQ(p.m_hitResult, 0);
    EXPECT_EQ(p.m_state, "飛行中");
    robots[0].m_stepCounter = 99;
    p.Detonate();
    // Blast HP 40 through full armour (k 2): 20 on each of frames 1, 5 and 9.
    int hp = robots[0].m_hp;
    for (int frame = 1; frame <= 12; ++frame) {
        Steps(1);
        p.CheckHit(&robots[0]);
        bool blast = frame == 1 || frame == 5 || frame == 9;
        EXPECT_EQ(p.m_hitResult, blast ? 1 : 0) << frame;
        if (blast) hp -= 20;
        EXPECT_EQ(robots[0].m_hp, hp) << frame;
    }
    EXPECT_EQ(robots[0].m_stepCounter, 0);  // its own shot landed
}

TEST_F(ProjectileWorld, TheFinishingHitIsReportedAndTheDownedAreLeftAlone) {
    robots[1].m_hp = 10;
    CRobot* finisher = nullptr;
    CRobot* defeated = nullptr;
    int i = Fire("ライフル１", kCentre, Vec3(0, 0, -1));
    pool->CheckHits(robots.get(), 2, &finisher, &defeated);
    EXPECT_EQ(Record(i).m_hitResult, 2);
    EXPECT_EQ(robots[1].m_hp, 0);
    EXPECT_EQ(finisher, &robots[0]);
    EXPECT_EQ(defeated, &robots[1]);
    // A robot at 0 HP, or an empty slot, is never hit again.
    int j = Fire("ライフル１", kCentre, Vec3(0, 0, -1));
    pool->CheckHits(robots.get(), 2, &finisher, &defeated);
    EXPECT_EQ(Record(j).m_state, "飛行中");
    robots[2].m_maxHp = 0;
    robots[2].m_frames[kRootFrame].SetLocalPosition(0, 0, 30);
    int k = Fire("ライフル１", robots[2].GetHitCentre(), Vec3(0, 0, -1), 1);
    Record(k).CheckHit(&robots[2]);
    EXPECT_EQ(Record(k).m_hitResult, 0);
}

TEST_F(ProjectileWorld, ProjectilesOfDifferentOwnersWearEachOtherDown) {
    struct Case {
        const char* a;
        int ownerA;
        const char* b;
        int ownerB;
        float distance;
        int impactA, impactB;
        const char* stateA;
        const char* stateB;
    };
    const Case cases[] = {
        // Worn-out reserves meeting again stay inside the int range.
        {"ショット１", 0, "ショット２", 1, 0.5f, INT32_MIN, INT32_MAX, "地形", "飛行中"},
        // Shield (600, radius 1.5) against an enemy shot of 300 beyond the shot's own radius.
        {"シールド", 0, "ショット２", 1, 1.0f, 300, -300, "飛行中", "地形"},
        // Shot 900 against shot 300 within the first one's radius; the worn one stops.
        {"ショット１", 0, "ショット２", 1, 0.5f, 600, -600, "飛行中", "地形"},
        // The same owner never wears.
        {"ショット１", 0, "ショット２", 0, 0.5f, 900, 300, "飛行中", "飛行中"},
        // Out of both radii.
        {"ショット１", 0, "ショット２", 1, 0.7f, 900, 300, "飛行中", "飛行中"},
        // Effects with hit radius 0 never wear each other.
        {"ブースト", 0, "ダッシュ", 1, 0.1f, 0, 0, "飛行中", "飛行中"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        int a = pool->Launch(Vec3(0, 50, 0), Vec3(1, 0, 0), nullptr, c.a, &robots[c.ownerA]);
        int b = pool->Launch(Vec3(0, 50, c.distance), Vec3(1, 0, 0), nullptr, c.b, &robots[c.ownerB]);
        if (c.impactA == INT32_MIN) {
            Record(a).m_impact = -2000000000;
            Record(b).m_impact = 2000000000;
        }
        pool->CheckCollisions();
        EXPECT_EQ(Record(a).m_impact, c.impactA);
        EXPECT_EQ(Record(b).m_impact, c.impactB);
        EXPECT_EQ(Record(a).m_state, c.stateA);
        EXPECT_EQ(Record(b).m_state, c.stateB);
        Record(a).Free();
        Record(b).Free();
    }
}

// A place that is not finite gives the wear test a NaN or infinite distance, which it may take
// as within reach at any separation: the pass must still wear exactly the pairs that the loop
// over every pair wears.
TEST_F(ProjectileWorld, WearWithPlacesNotFiniteEqualsTheLoopOverEveryPair) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Shot {
        const char* kind;
        int owner;
        Vec3 at;
    };
    const Shot shots[] = {
        {"ショット１", 0, Vec3(0, 50, 0)},     {"ショット２", 1, Vec3(0.3f, 50, 0)}, {"シールド", 1, Vec3(40, nan, 0)},
        {"ショット１", 1, Vec3(-40, 50, inf)}, {"ショット２", 0, Vec3(80, -inf, nan)},
        {"ショット２", 1, Vec3(inf, 50, 0)},   {"シールド", 0, Vec3(120, 50, 0)},
    };
    auto run = [&](bool pass) {
        int index[std::size(shots)];
        for (size_t k = 0; k < std::size(shots); ++k) {
            index[k] = pool->Launch(Vec3(0, 50, 0), Vec3(1, 0, 0), nullptr, shots[k].kind, &robots[shots[k].owner]);
            Record(index[k]).m_flight.SetLocalPosition(shots[k].at.x, shots[k].at.y, shots[k].at.z);
        }
        if (pass) {
            pool->CheckCollisions();
        } else {
            for (int i = 0; i < pool->GetCount(); ++i)
                for (int j = 0; j < pool->GetCount(); ++j)
                    if (i != j && Record(i).IsActive() && Record(j).IsActive()) Record(i).Collide(&Record(j));
        }
        std::vector<std::pair<int, std::string>> out;
        for (int i : index) {
            out.emplace_back(Record(i).m_impact, Record(i).m_state);
            Record(i).Free();
        }
        return out;
    };
    const auto loop = run(false);
    EXPECT_EQ(run(true), loop);
    EXPECT_NE(loop[0].first, 900);  // the first shot was worn by the places not finite
}

}  // namespace
