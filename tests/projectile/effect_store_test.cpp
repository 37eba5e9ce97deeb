// The effect store: it loads every mesh and sound from the generated game folder, keeps the
// current folder whatever is missing, and turns kind names into records as the tables say.
#include "projectile_fixture.h"

#include <unistd.h>

namespace {

TEST_F(ProjectileWorld, StoreLoadsEveryFileOfTheGameFolder) {
    // The fixture built the store inside the game folder, with the record sounds after it.
    EXPECT_EQ(CountOf(g_projectileLog, "failed."), 0) << g_projectileLog;
    for (int k = 0; k < kStoreSlots; ++k) {
        EXPECT_TRUE(store->m_flightMeshes[k].HasMesh()) << k;
        EXPECT_TRUE(store->m_hitMeshes[k].HasMesh()) << k;
        EXPECT_TRUE(store->m_terrainMeshes[k].HasMesh()) << k;
        EXPECT_TRUE(store->m_trailMeshes[k].HasMesh()) << k;
        EXPECT_TRUE(store->m_sounds[k].IsLoaded()) << kStoreFiles[k].sound;
    }
    EXPECT_TRUE(Record(0).m_jetSound.IsLoaded());
    EXPECT_TRUE(Record(99).m_hitSound.IsLoaded());
}

TEST_F(ProjectileWorld, StoreKeepsTheCurrentFolderWhenAssetFoldersAreMissing) {
    struct Layout {
        bool obj, wave;
    };
    for (const Layout& l : {Layout{false, false}, Layout{true, false}, Layout{false, true}}) {
        CTestFolder empty;
        if (l.obj) {
            ASSERT_EQ(symlink(GAME_DIR "/obj", "obj"), 0);
        }
        if (l.wave) {
            ASSERT_EQ(symlink(GAME_DIR "/wave", "wave"), 0);
        }
        const std::string before = SysGetCurrentDir();
        CEffectStore s;
        EXPECT_EQ(SysGetCurrentDir(), before);
        EXPECT_EQ(s.m_flightMeshes[0].HasMesh(), l.obj);
        EXPECT_EQ(s.m_sounds[0].IsLoaded() != 0, l.wave);
        // Kinds still fly with empty meshes and silent sounds.
        CProjectile p;
        s.InitProjectile(&p, "ミサイル");
        EXPECT_EQ(p.m_lifetime, 150);
    }
}

TEST_F(ProjectileWorld, KindsTakeTheirInitialiserThenTheirAdjustments) {
    struct Case {
        const char* kind;
        int lifetime;
        float step, turnRate, homingRange;
        int hp, ap, impact, blastHp, blastAp, blastImpact;
        float hitRadius, blastRadius;
        const char* label;
        bool bomb;
    };
    const Case cases[] = {
        // The cruise missile is the nuclear missile's initialiser: a grenade-labelled bomb.
        {"巡航ミサイル", 150, 0.45f, 0.02f, 10, 500, 900, 600, 50, 50, 320, 1, 5, "グレネード", true},
        {"ボム_H", 40, 0.3f, 0.06f, 0, 0, 0, 1000, 0, 0, 180, 1.5f, 5, "ボム", true},
        {"ショット３M", 35, 0.2f, 0.12f, 90, 10, 100, 10, 0, 0, 0, 0.6f, 0, "", false},
        {"格闘_突撃", 2, 0, 0, 0, 50, 0, 300, 0, 0, 0, 2, 0, "", false},
        {"加速ミサイル", 150, 0.25f, 0.04f, 30, 100, 10, 100, 0, 0, 0, 0.6f, 0, "加速", false},
        {"クリスタル", 99999, 0.1f, 0, 0, -10, 0, 0, 0, 0, 0, 1, 1, "クリスタル", false},
        {"シールド", 10, 0, 0.03f, 10, 0, 0, 600, 0, 0, 0, 1.5f, 0, "シールド", false},
        {"サテライト６", 200, 0.5f, 0.15f, 1000, 100, 0, 500, 10, 0, 0, 0, 1, "サテライト６", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        CProjectile& p = Record(0);
        store->InitProjectile(&p, c.kind);
        EXPECT_EQ(p.m_lifetime, c.lifetime);
        EXPECT_FLOAT_EQ(p.m_step, c.step);
        EXPECT_FLOAT_EQ(p.m_turnRate, c.turnRate);
        EXPECT_FLOAT_EQ(p.m_homingRange, c.homingRange);
        EXPECT_EQ(p.m_hpDamage, c.hp);
        EXPECT_EQ(p.m_apDamage, c.ap);
        EXPECT_EQ(p.m_impact, c.impact);
        EXPECT_EQ(p.m_blastHpDamage, c.blastHp);
        EXPECT_EQ(p.m_blastApDamage, c.blastAp);
        EXPECT_EQ(p.m_blastImpact, c.blastImpact);
        EXPECT_FLOAT_EQ(p.m_hitRadius, c.hitRadius);
        EXPECT_FLOAT_EQ(p.m_blastRadius, c.blastRadius);
        EXPECT_EQ(p.m_label, c.label);
        EXPECT_EQ(p.IsBombFamily(), c.bomb);
    }
}

TEST_F(ProjectileWorld, BoostSiblingsDifferOnlyInTheirLabel) {
    CProjectile& a = Record(0);
    CProjectile& b = Record(1);
    store->InitProjectile(&a, "ブースト");
    for (const char* kind : {"ブースト（上昇", "ブースト（右", "ブースト（左", "ブーストB"}) {
        store->InitProjectile(&b, kind);
        EXPECT_EQ(b.m_label, kind);
        EXPECT_EQ(b.m_lifetime, a.m_lifetime);
        EXPECT_EQ(b.m_step, a.m_step);
        EXPECT_EQ(b.m_hitMode, a.m_hitMode);
        EXPECT_EQ(b.m_kindSound, a.m_kindSound);
        EXPECT_EQ(b.m_flight.m_mesh, a.m_flight.m_mesh);
    }
}

TEST_F(ProjectileWorld, RecordsPointIntoTheStore) {
    for (const SKindRow& row : kKindTable) {
        CProjectile& p = Record(0);
        store->InitProjectile(&p, row.name);
        const SKindInit& k = kKindInitTable[row.init];
        EXPECT_EQ(p.m_kindSound->GetFileName(), k.sound) << row.name;
        const CMesh* meshes[4] = {p.m_flight.m_mesh, p.m_trail.m_mesh, p.m_hit.m_mesh, p.m_terrain.m_mesh};
        const char* files[4] = {k.flightMesh, k.trailMesh, k.hitMesh, k.terrainMesh};
        for (int m = 0; m < 4; ++m) {
            ASSERT_NE(meshes[m], nullptr) << row.name;
            EXPECT_EQ(meshes[m]->GetName(), files[m]) << row.name;
        }
    }
}

TEST_F(ProjectileWorld, UnknownOrEmptyKindsKeepTheRecordsParameters) {
    store->InitProjectile(&Record(0), "ミサイル");
    // Fired into a used record, an unknown kind flies with that record's last parameters...
    ASSERT_EQ(Fire("存在しない", Vec3(), Vec3(0, 0, 1)), 0);
    EXPECT_EQ(Record(0).m_lifetime, 150);
    EXPECT_EQ(Record(0).m_label, "予測");
    EXPECT_EQ(Record(0).m_state, "飛行中");
    // ...and into a never-launched one with the reset's "ショット１".
    ASSERT_EQ(Fire("存在しない", Vec3(), Vec3(0, 0, 1)), 1);
    EXPECT_EQ(Record(1).m_impact, 900);
    EXPECT_EQ(Record(1).m_state, "飛行中");
    // The empty name frees the record and stops there.
    Record(1).m_lifetime = 7;
    store->InitProjectile(&Record(1), "");
    EXPECT_TRUE(Record(1).IsFree());
    EXPECT_EQ(Record(1).m_lifetime, 7);
}

}  // namespace
