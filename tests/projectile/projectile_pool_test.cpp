// The pool of one hundred: launches take the first free record in robot then shot-slot order,
// a full pool drops the request, and records live through flight, hit or terrain and back to
// free by their kind's lifetime and hit-effect mode.
#include "projectile_fixture.h"

#include <algorithm>

namespace {

void Raise(CRobot& r, int slot, const char* kind, Vec3 at) {
    CShotSlot& s = r.m_shotSlots.slots[slot];
    s.name = kind;
    s.inUse = true;
    s.offset = at;
    s.direction = Vec3(0, 0, 1);
}

TEST_F(ProjectileWorld, ResetLeavesEveryRecordFreeAsAPlainShot) {
    EXPECT_EQ(pool->GetCount(), kProjectilePool);
    EXPECT_EQ(pool->GetCursor(), 1);
    EXPECT_EQ(pool->CountBusy(), 0);
    for (int i = 0; i < kProjectilePool; ++i) {
        EXPECT_EQ(Record(i).m_state, "");
        EXPECT_FLOAT_EQ(Record(i).m_step, 0.45f);  // "ショット１"
        EXPECT_EQ(Record(i).m_impact, 900);
    }
}

TEST_F(ProjectileWorld, SpawnTakesTheLowestFreeRecordsInRobotThenSlotOrder) {
    // Record 0 busy, record 2 busy: the requests fill 1, 3 and 4.
    Fire("ショット２", Vec3(), Vec3(0, 0, 1));
    Fire("ショット２", Vec3(), Vec3(0, 0, 1));
    Fire("ショット２", Vec3(), Vec3(0, 0, 1));
    Record(1).Free();
    Raise(robots[1], 0, "マシンガン", Vec3(0, 5, 0));
    Raise(robots[0], 3, "レーザー", Vec3(0, 3, 0));
    Raise(robots[0], 1, "ミサイル", Vec3(0, 1, 0));
    pool->Spawn(robots.get(), 2);

    struct Expect {
        int index;
        int owner;
        float y;
        int lifetime;
    };
    const Expect expected[] = {{1, 0, 1, 150}, {3, 0, 3, 15}, {4, 1, 5, 24}};
    for (const Expect& e : expected) {
        const CProjectile& p = Record(e.index);
        EXPECT_EQ(p.m_state, "飛行中") << e.index;
        EXPECT_EQ(p.m_owner, &robots[e.owner]) << e.index;
        EXPECT_EQ(p.m_targetFrame, &robots[1 - e.owner].m_frames[kRootFrame]) << e.index;
        EXPECT_FLOAT_EQ(p.GetPosition().y, e.y) << e.index;
        EXPECT_EQ(p.m_lifetime, e.lifetime) << e.index;
    }
    EXPECT_EQ(pool->GetCursor(), 4);
    EXPECT_EQ(pool->CountBusy(), 5);
    for (int r = 0; r < 2; ++r)
        for (const CShotSlot& s : robots[r].m_shotSlots.slots) EXPECT_FALSE(s.inUse);
}

TEST_F(ProjectileWorld, AFullPoolDropsTheRequestButConsumesIt) {
    for (int i = 0; i < kProjectilePool; ++i) ASSERT_EQ(Fire("ショット１", Vec3(), Vec3(0, 0, 1)), i);
    EXPECT_EQ(Fire("ショット１", Vec3(), Vec3(0, 0, 1)), -1);
    Raise(robots[0], 0, "ミサイル", Vec3(0, 9, 0));
    pool->Spawn(robots.get(), 2);
    EXPECT_FALSE(robots[0].m_shotSlots.slots[0].inUse);
    EXPECT_EQ(pool->CountBusy(), kProjectilePool);
    for (int i = 0; i < kProjectilePool; ++i) EXPECT_NE(Record(i).m_lifetime, 150) << i;
}

TEST_F(ProjectileWorld, ARobotWithoutTargetFiresWithNoTargetFrame) {
    robots[0].m_target = nullptr;
    Raise(robots[0], 0, "ショット３M", Vec3());
    pool->Spawn(robots.get(), 2);
    EXPECT_EQ(Record(0).m_targetFrame, nullptr);
    Steps(10);  // homes on nothing: flies straight along +z
    EXPECT_FLOAT_EQ(Record(0).GetPosition().x, 0);
    EXPECT_FLOAT_EQ(Record(0).GetPosition().y, 0);
}

// How each kind of record ends when nothing is hit: the state it shows and when it is freed.
TEST_F(ProjectileWorld, RecordsEndByLifetimeAndHitEffectMode) {
    struct Case {
        const char* kind;
        int flightSteps;   // updates until the flight ends
        const char* endState;
        int showSteps;     // further updates the effect shows before the one that frees it
    };
    const Case cases[] = {
        {"マシンガン", 24, "地形", 5},   // mode 5: terrain shown for frames 1 to 5
        {"ライフル１", 300, "地形", 5},
        {"ボム_短時限", 15, "命中", 30},  // bombs never go to terrain; mode 2
        {"グレネード１", 50, "命中", 30},
        {"ブースト", 3, "地形", 0},       // mode 3: freed at once
        {"ブレード２", 2, "地形", 0},     // mode 4: terrain freed at once
        {"ブレード", 2, "地形", 5},       // mode 1
        {"核ミサイル", 150, "命中", 30},  // the bomb family by its label "グレネード"
        {"巡航ミサイル", 150, "命中", 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        int i = Fire(c.kind, Vec3(0, 50, 0), Vec3(1, 0, 0), 0, false);
        ASSERT_GE(i, 0);
        CProjectile& p = Record(i);
        Steps(c.flightSteps - 1);
        EXPECT_EQ(p.m_state, "飛行中");
        Steps(1);
        EXPECT_EQ(p.m_state, c.endState);
        EXPECT_EQ(p.m_frame, 0);
        Steps(c.showSteps);
        EXPECT_EQ(p.m_state, c.endState);
        Steps(1);
        EXPECT_EQ(p.m_state, "");
        EXPECT_TRUE(p.IsFree());
        EXPECT_FALSE(p.IsActive());
    }
}

TEST_F(ProjectileWorld, APlainShotStopsWhereItsLifetimeEnds) {
    int i = Fire("マシンガン", Vec3(1, 2, 3), Vec3(1, 0, 0), 0, false);
    Steps(24);
    const CProjectile& p = Record(i);
    ASSERT_EQ(p.m_state, "地形");
    EXPECT_NEAR(p.GetPosition().x, 1 + 24 * 0.5f, 1e-4);
    Vec3 shown = p.m_terrain.GetLocalPosition();
    EXPECT_NEAR(shown.x, 13.0f, 1e-4);
    EXPECT_FLOAT_EQ(shown.y, 2);
    EXPECT_FLOAT_EQ(shown.z, 3);
}

TEST_F(ProjectileWorld, ADetonatedShotShowsItsHitForFiveFramesInModeFive) {
    int i = Fire("ショット２", Vec3(), Vec3(0, 0, 1), 0, false);
    Steps(3);
    CProjectile& p = Record(i);
    p.Detonate();
    ASSERT_EQ(p.m_state, "命中");
    for (int f = 1; f <= 5; ++f) {
        Steps(1);
        EXPECT_EQ(p.m_state, "命中") << f;
        EXPECT_EQ(p.m_frame, f);
    }
    Steps(1);
    EXPECT_TRUE(p.IsFree());
}

TEST_F(ProjectileWorld, StateChangesActOnlyOnAFlyingRecord) {
    int shot = Fire("ショット２", Vec3(), Vec3(0, 0, 1), 0, false);
    int bomb = Fire("ボム", Vec3(0, 50, 0), Vec3(0, 0, 1), 0, false);
    CProjectile& s = Record(shot);
    CProjectile& b = Record(bomb);
    s.HitTerrain();
    EXPECT_EQ(s.m_state, "地形");
    s.Detonate();  // already in terrain: no change
    EXPECT_EQ(s.m_state, "地形");
    b.HitTerrain();  // a bomb detonates instead
    EXPECT_EQ(b.m_state, "命中");
    // At the end of its lifetime a bomb detonates and a plain shot meets the terrain.
    int bomb2 = Fire("ボム_L", Vec3(0, 50, 0), Vec3(0, 0, 1), 0, false);
    Record(bomb2).m_frame = Record(bomb2).m_lifetime - 1;
    int shot2 = Fire("ショット２", Vec3(), Vec3(0, 0, 1), 0, false);
    Record(shot2).m_frame = 299;
    Steps(1);
    EXPECT_EQ(Record(bomb2).m_state, "命中");
    EXPECT_EQ(Record(shot2).m_state, "地形");
}

TEST_F(ProjectileWorld, TrailParticlesStartEveryThirdFrameAndShowAtMostThree) {
    int i = Fire("ミサイル", Vec3(0, 50, 0), Vec3(1, 0, 0), 0, false);
    const CProjectile& p = Record(i);
    int maxShown = 0;
    for (int f = 1; f <= 40; ++f) {
        Steps(1);
        int started = 0, shown = 0;
        for (const CTrailParticle& t : p.m_particles) {
            started += t.m_age == 1 && !t.m_hidden;
            shown += !t.m_hidden;
        }
        EXPECT_EQ(started, f % 3 == 2 ? 1 : 0) << "frame " << f;
        maxShown = std::max(maxShown, shown);
    }
    EXPECT_EQ(maxShown, 3);
}

TEST_F(ProjectileWorld, FreeingARecordStopsItsLoopedSounds) {
    // "ブースト" frees its hit effect at once (mode 3), on the frame its hit sound starts.
    int i = Fire("ブースト", Vec3(), Vec3(0, 0, 1), 0, false);
    CProjectile& p = Record(i);
    ASSERT_TRUE(p.m_hitSound.IsLoaded()) << g_projectileLog;
    p.Detonate();
    Steps(1);
    EXPECT_TRUE(p.IsFree());
    EXPECT_FALSE(p.m_hitSound.IsPlaying());
    // A record freed by re-initialisation stops its sounds as well.
    int j = Fire("ショット２", Vec3(), Vec3(0, 0, 1), 0, false);
    Record(j).Detonate();
    Steps(1);
    ASSERT_TRUE(Record(j).m_hitSound.IsPlaying());
    store->InitProjectile(&Record(j), "ショット１");
    EXPECT_FALSE(Record(j).m_hitSound.IsPlaying());
}

}  // namespace
