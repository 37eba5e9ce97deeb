// A battle must not reach the heap once it has started: a six-robot CPU fight with the
// projectile pool kept full, stepped and drawn, counts every operator new. Its own program,
// because it replaces the global allocator.
#include "battle.h"
#include "battle_runner.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>

namespace {

long long g_allocations = 0;

const char* const kBuilds[kMaxRobots] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0", "31,3,4", "32,0,2"};

void FillPool(CBattle& b) {
    for (int i = 0; i < kProjectilePool; ++i) {
        if (!b.m_projectiles.GetRecord(i).IsFree()) continue;
        CRobot& r = b.m_robots[i % kMaxRobots];
        Vec3 at = r.m_frames[kRootFrame].GetWorldPosition() + Vec3(0, 1.0f, 0);
        C3DObject* target = r.m_target ? &r.m_target->m_frames[kRootFrame] : nullptr;
        b.m_projectiles.Launch(at, -r.m_frames[kRootFrame].GetWorldAxisZ(), target, "ミサイル", &r);
    }
}

TEST(StepAllocationTest, AStartedBattleStepsAndDrawsWithoutTheHeap) {
    CTestFolder folder;
    CSceneDriver driver;
    ASSERT_EQ(driver.Start(), 1);
    ASSERT_EQ(driver.UseGameAssets(), 1);
    auto b = std::make_unique<CBattle>();
    b->m_robotCount = kMaxRobots;
    for (int i = 0; i < kMaxRobots; ++i) b->BuildRobot(i, -1, ParseBuildCode(kBuilds[i]));
    b->LoadStage(1);
    b->m_clock = -1;  // untimed and unwinnable, so the fight outlasts the test
    b->m_mission = "";
    b->m_drawEnabled = 0;
    while (b->m_phase == kPhaseIntro) b->Run();

    long long stepped = 0;
    for (int i = 0; i < 1500 && b->m_phase == kPhaseFight; ++i) {
        FillPool(*b);  // launching is set-up here, not counted: the step is
        long long before = g_allocations;
        b->GatherPads();
        b->SimulateStep();
        stepped += g_allocations - before;
    }
    EXPECT_EQ(stepped, 0);

    b->m_drawEnabled = 1;
    for (int i = 0; i < 30; ++i) b->Step();  // first draws build each mesh's index lists and glyphs
    long long drawn = 0;
    for (int i = 0; i < 60 && b->m_phase == kPhaseFight; ++i) {
        long long before = g_allocations;
        b->Step();
        drawn += g_allocations - before;
    }
    EXPECT_EQ(drawn, 0);
    EXPECT_EQ(b->m_phase, kPhaseFight);
}

}  // namespace

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++g_allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
