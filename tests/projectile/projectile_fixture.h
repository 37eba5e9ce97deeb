// A small battle world for the projectile tests: silent sound device, the effect store and the
// robots loaded from the generated game folder, a pool reset as the battle resets it, and a
// ground of a floor at y 0 with a wall facing the origin. The log is captured.
#pragma once

#include "effect_store.h"
#include "projectile_pool.h"
#include "robot.h"

#include "engine.h"
#include "mesh.h"
#include "node.h"
#include "sound.h"
#include "test_folder.h"
#include "xfile_reader.h"

#include "sys_info.h"
#include "sys_path.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

inline std::string g_projectileLog;

// The wall stands across +z at this distance from the origin, facing back toward it.
constexpr float kWallZ = 20.0f;

// One quad of the ground, wound so that its front faces along `normal`.
inline void AddQuad(XMeshData* d, Vec3 a, Vec3 b, Vec3 c, Vec3 e, Vec3 normal) {
    uint32_t base = (uint32_t)d->positions.size();
    for (const Vec3& p : {a, b, c, e}) d->positions.push_back(p);
    const bool flip = Vec3Dot(Vec3Cross(b - a, c - a), normal) < 0;
    const uint32_t tri[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; i += 3) {
        d->indices.push_back(base + tri[i]);
        d->indices.push_back(base + (flip ? tri[i + 2] : tri[i + 1]));
        d->indices.push_back(base + (flip ? tri[i + 1] : tri[i + 2]));
        d->faceMaterials.push_back(0);
    }
}

class ProjectileWorld : public ::testing::Test {
protected:
    static void Capture(const char* text) { g_projectileLog += text; }

    void SetUp() override {
        g_projectileLog.clear();
        ResetLogFileName();
        SysSetDebugOutputSink(Capture);
        const char* argv[] = {"zaumolta"};
        SetCommandLine(1, argv);
        InitDirectSound();
        {
            CFolderGuard game(GAME_DIR);
            store = std::make_unique<CEffectStore>();
        }
        XMeshData d;
        d.materials.resize(1);
        AddQuad(&d, Vec3(-100, 0, -100), Vec3(100, 0, -100), Vec3(100, 0, 100), Vec3(-100, 0, 100), Vec3(0, 1, 0));
        AddQuad(&d, Vec3(-100, -10, kWallZ), Vec3(100, -10, kWallZ), Vec3(100, 50, kWallZ), Vec3(-100, 50, kWallZ),
                Vec3(0, 0, -1));
        groundMesh.TakeData(d, 0, 1);
        ground.Create(&groundMesh, 0, 0, 0, 1.0f);
        BuildRobotsAndPool();
    }
    // Fresh robots and a freshly reset pool: two robots facing each other 10 units apart, each
    // aiming at the other, waist 1 unit and body 1.5 units above the root.
    void BuildRobotsAndPool() {
        pool.reset();
        robots.reset();
        {
            CFolderGuard game(GAME_DIR);
            robots = std::make_unique<CRobot[]>(kMaxRobots);
            pool = std::make_unique<CProjectilePool>();
            pool->Reset(store.get());
        }
        for (int i = 0; i < 2; ++i) {
            CRobot& r = robots[i];
            r.m_frames[kRootFrame].SetLocalPosition(0, 0, i == 0 ? 0.0f : 10.0f);
            r.m_frames[kRootFrame].SetOrientation(Vec3(0, 0, i == 0 ? -1.0f : 1.0f), Vec3(0, 1, 0));
            for (int f = 0; f < kRootFrame; ++f) r.m_frames[f].m_parent = &r.m_frames[kRootFrame];
            r.m_frames[1].SetLocalPosition(0, 1.5f, 0);
            r.m_frames[2].SetLocalPosition(0, 1.0f, 0);
        }
        robots[0].m_target = &robots[1];
        robots[1].m_target = &robots[0];
    }
    void TearDown() override {
        pool.reset();
        robots.reset();
        store.reset();
        FreeDirectSound();
        SysSetDebugOutputSink(nullptr);
    }

    CProjectile& Record(int i) { return pool->GetRecord(i); }
    C3DObject* TargetOf(int robot) { return &robots[robot].m_target->m_frames[kRootFrame]; }
    // Launches a kind from robot 0 at a point along a direction; the record's index.
    int Fire(const char* kind, Vec3 at, Vec3 dir, int owner = 0, bool aimed = true) {
        return pool->Launch(at, dir, aimed ? TargetOf(owner) : nullptr, kind, &robots[owner]);
    }
    void Steps(int n, const C3DObject* g = nullptr) {
        for (int i = 0; i < n; ++i) pool->Update(g);
    }

    CTestFolder folder;
    std::unique_ptr<CEffectStore> store;
    std::unique_ptr<CRobot[]> robots;
    std::unique_ptr<CProjectilePool> pool;
    CMesh groundMesh;
    C3DObject ground;
};

// FireWeaponAt raises a shot slot only once the action routines are built; until then the tests
// of effects fired by projectiles and hits have nothing to look at.
inline bool FireRequestsWork() {
    CRobot r;
    r.FireWeaponAt("ショット１", Vec3(), Vec3(0, 0, 1));
    for (const CShotSlot& s : r.m_shotSlots.slots)
        if (s.inUse) return true;
    return false;
}

inline int CountRequests(const CRobot& r, const char* kind) {
    int n = 0;
    for (const CShotSlot& s : r.m_shotSlots.slots)
        if (s.inUse && s.name == kind) ++n;
    return n;
}
