// Battle figures: the simulation step of a six-robot CPU battle with its projectile pool kept
// full, a whole drawn frame on the offscreen renderer, and heap allocations per step after
// set-up. Each figure is printed beside its target; nothing here fails a build.
#include "battle.h"
#include "battle_runner.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

namespace {

long long g_allocations = 0;

double NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

constexpr int kSimSteps = 2000;
constexpr int kDrawnFrames = 200;
constexpr double kFrameMs = 1000.0 / 30.0;
const char* const kBuilds[kMaxRobots] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0", "31,3,4", "32,0,2"};

std::unique_ptr<CBattle> MakeBattle() {
    auto b = std::make_unique<CBattle>();
    b->m_robotCount = kMaxRobots;
    for (int i = 0; i < kMaxRobots; ++i) b->BuildRobot(i, -1, ParseBuildCode(kBuilds[i]));
    b->LoadStage(1);
    b->m_clock = -1;     // untimed, and a mission no side can fulfil: the fight lasts as
    b->m_mission = "";   // long as the bench needs
    b->m_drawEnabled = 0;
    while (b->m_phase == kPhaseIntro) b->Run();
    return b;
}

// Every free record gets a shot from a robot toward its target, so each step flies and tests
// a full pool.
int FillPool(CBattle& b) {
    int launched = 0;
    for (int i = 0; i < kProjectilePool; ++i) {
        if (!b.m_projectiles.GetRecord(i).IsFree()) continue;
        CRobot& r = b.m_robots[i % kMaxRobots];
        Vec3 at = r.m_frames[kRootFrame].GetWorldPosition() + Vec3(0, 1.0f, 0);
        Vec3 dir = -r.m_frames[kRootFrame].GetWorldAxisZ();
        C3DObject* target = r.m_target ? &r.m_target->m_frames[kRootFrame] : nullptr;
        if (b.m_projectiles.Launch(at, dir, target, "ミサイル", &r) >= 0) ++launched;
    }
    return launched;
}

int BusyRecords(CBattle& b) {
    int busy = 0;
    for (int i = 0; i < kProjectilePool; ++i) busy += !b.m_projectiles.GetRecord(i).IsFree();
    return busy;
}

}  // namespace

void* operator new(size_t size) {
    ++g_allocations;
    if (void* p = malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }

int main() {
    if (chdir(GAME_DIR) != 0 || !StartHeadlessEngine()) {
        fprintf(stderr, "battle_bench: no game folder or no engine\n");
        return 1;
    }
    {
        std::unique_ptr<CBattle> b = MakeBattle();
        double simMs = 0;
        long long allocations = 0;
        int busy = 0, steps = 0;
        for (; steps < kSimSteps && b->m_phase == kPhaseFight; ++steps) {
            FillPool(*b);
            busy += BusyRecords(*b);
            long long before = g_allocations;
            double t0 = NowMs();
            b->GatherPads();
            b->SimulateStep();
            simMs += NowMs() - t0;
            allocations += g_allocations - before;
        }
        if (steps == 0) steps = 1;
        double perStep = simMs / steps;
        printf("simulation step, 6 CPU robots, pool %.0f/100 busy (%d steps): %.4f ms   target < 0.33 ms\n",
               double(busy) / steps, steps, perStep);
        printf("  %.0f steps a second, %.0fx real time   target >= 100x (3000 steps a second)\n",
               perStep > 0 ? 1000.0 / perStep : 0.0, perStep > 0 ? kFrameMs / perStep : 0.0);
        printf("heap allocations per step after set-up: %.2f   target 0\n", double(allocations) / steps);

        b->m_drawEnabled = 1;
        double drawMs = 0;
        int frames = 0;
        for (; frames < kDrawnFrames && b->m_phase == kPhaseFight; ++frames) {
            FillPool(*b);
            double t0 = NowMs();
            b->Step();
            drawMs += NowMs() - t0;
        }
        double perFrame = drawMs / (frames ? frames : 1);
        printf("drawn battle frame at 640 x 480 (step and drawing): %.2f ms, %.0f frames a second   target < 8 ms\n",
               perFrame, perFrame > 0 ? 1000.0 / perFrame : 0.0);
    }
    StopHeadlessEngine();
    return 0;
}
