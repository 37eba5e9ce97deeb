// The battle's projectile pool: one hundred records held by value and the four passes the
// battle step runs over them, in this order: Spawn (fire requests of all robots, robot order
// then shot-slot order), Update (flight, effects, lifetimes), CheckCollisions (wear between
// projectiles of different owners), CheckHits (hits on robots, damage through
// CRobot::ApplyHit). The win and lose phases run only Spawn and Update. Effects fired during
// Update and CheckHits wait in the robots' shot slots and become projectiles in the next Spawn.
#pragma once

#include "effect_store.h"
#include "projectile.h"

class CRobot;

// Every shot, effect and melee hit box of a battle shares these; a shot with no free record
// is dropped. Six robots firing a few shots a step with lifetimes of one to ten seconds fit.
constexpr int kProjectilePool = 100;

class CProjectilePool {
public:
    CProjectilePool() = default;
    CProjectilePool(const CProjectilePool&) = delete;
    CProjectilePool& operator=(const CProjectilePool&) = delete;

    // ---- Set-up (the battle's reset) ----
    // Keeps the store, loads every record's own sounds and frees every record as kind
    // "ショット１"; count := 100, cursor := 1.
    void Reset(CEffectStore* store);

    // ---- The passes of a battle step ----
    // Launches every raised fire request of robots[0 .. robotCount - 1] and clears its byte.
    void Spawn(CRobot* robots, int robotCount);
    void Update(const C3DObject* ground);  // the stage's ground collision node (may be null)
    void CheckCollisions();
    // When a hit leaves a robot without HP, *finisher := the shooter and *defeated := the
    // robot hit (the battle view's finish shot); otherwise both are left as they are.
    void CheckHits(CRobot* robots, int robotCount, CRobot** finisher, CRobot** defeated);

    // ---- Launching ----
    // The first free record, index 0 up, takes the kind; -1 when the pool is full (dropped).
    int Launch(const Vec3& position, const Vec3& direction, C3DObject* targetFrame, const char* kindName,
               CRobot* owner);

    // ---- Reading (drawing, HUD, tests) ----
    int GetCount() const { return m_count; }
    int GetCursor() const { return m_cursor; }  // index of the last launch (1 after reset)
    CProjectile& GetRecord(int i) { return m_records[i]; }
    const CProjectile& GetRecord(int i) const { return m_records[i]; }
    int CountBusy() const;

private:
    CEffectStore* m_store = nullptr;
    CProjectile m_records[kProjectilePool];
    int m_count = kProjectilePool;
    int m_cursor = 1;
};
