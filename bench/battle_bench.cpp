// Battle figures: the simulation step of a six-robot CPU battle with its projectile pool kept
// full, a whole drawn frame on the offscreen renderer, and heap allocations per step after
// set-up, on stage 1 or the stage given. Each figure is printed beside its target; nothing here
// fails a build. The renderer's threads (LP_NUM_THREADS) and the cores the bench may use
// (taskset) are the caller's: the frame's target is for two cores. A stage the game does not
// know is refused: its figures would be those of a battle on no ground. So is a second
// argument: ignored, it would have the caller believe it counted.
// Usage: battle_bench [STAGE]
//   BATTLE_BENCH_NO_DRAW=1 skips the drawn frames, so a count of the step's instructions
//   (callgrind, collecting CBattle::SimulateStep) covers the full-pool steps alone.
#include "battle.h"
#include "bench_clock.h"
#include "battle_runner.h"
#include "stage.h"
#include "sys_rand.h"

#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

namespace {

long long g_allocations = 0;

constexpr int kSimSteps = 2000;
constexpr int kDrawnFrames = 200;
constexpr double kFrameMs = 1000.0 / 30.0;
constexpr double kStepTargetMs = 0.1;
constexpr double kDrawnFrameTargetMs = 16.0;
const char* const kUsage = "usage: battle_bench [STAGE]\n";
const char* const kBuilds[kMaxRobots] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0", "31,3,4", "32,0,2"};

std::unique_ptr<CBattle> MakeBattle(int stage) {
    // One seed, so every run fights the same battle and the figures compare.
    GameSrand(1);
    auto b = std::make_unique<CBattle>();
    b->m_robotCount = kMaxRobots;
    for (int i = 0; i < kMaxRobots; ++i) b->BuildRobot(i, -1, ParseBuildCode(kBuilds[i]));
    b->LoadStage(stage);
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

long CoresAllowed() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) != 0) return sysconf(_SC_NPROCESSORS_ONLN);
    return CPU_COUNT(&set);
}

// A stage number the game's stage table has; 0 with a message otherwise.
int ParseStage(const char* text, int* stage) {
    char* end = nullptr;
    errno = 0;
    const long v = strtol(text, &end, 10);
    if (end == text || *end || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
        fprintf(stderr, "battle_bench: \"%s\" is no stage number\n%s", text, kUsage);
        return 0;
    }
    if (!IsKnownStage(int(v))) {
        fprintf(stderr, "battle_bench: the game has no stage %ld\n", v);
        return 0;
    }
    *stage = int(v);
    return 1;
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

int main(int argc, char** argv) {
    int stage = 1;
    if (argc > 2) {
        fprintf(stderr, "battle_bench: one stage at most, not \"%s\" as well\n%s", argv[2], kUsage);
        return 2;
    }
    if (argc > 1 && !ParseStage(argv[1], &stage)) return 2;
    if (chdir(GAME_DIR) != 0 || !StartHeadlessEngine()) {
        fprintf(stderr, "battle_bench: no game folder or no engine\n");
        return 1;
    }
    {
        std::unique_ptr<CBattle> b = MakeBattle(stage);
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
        printf("simulation step, stage %d, 6 CPU robots, pool %.0f/100 busy (%d steps): %.4f ms   target <= %.1f ms\n",
               stage, double(busy) / steps, steps, perStep, kStepTargetMs);
        printf("  %.0f steps a second, %.0fx real time   target >= %.0fx (%.0f steps a second)\n",
               perStep > 0 ? 1000.0 / perStep : 0.0, perStep > 0 ? kFrameMs / perStep : 0.0, kFrameMs / kStepTargetMs,
               1000.0 / kStepTargetMs);
        printf("heap allocations per step after set-up: %.2f   target 0\n", double(allocations) / steps);

        const char* noDraw = getenv("BATTLE_BENCH_NO_DRAW");
        if (noDraw && *noDraw && *noDraw != '0') {
            b.reset();
            StopHeadlessEngine();
            return 0;
        }
        b->m_drawEnabled = 1;
        double drawMs = 0;
        int frames = 0;
        for (; frames < kDrawnFrames && b->m_phase == kPhaseFight; ++frames) {
            FillPool(*b);
            double t0 = NowMs();
            b->Step();
            drawMs += NowMs() - t0;
        }
        if (frames == 0) frames = 1;
        double perFrame = drawMs / frames;
        const char* threads = getenv("LP_NUM_THREADS");
        printf("drawn battle frame at 640 x 480 (step and drawing): %.2f ms, %.0f frames a second   "
               "target <= %.0f ms on two cores (here %ld cores, LP_NUM_THREADS=%s)\n",
               perFrame, perFrame > 0 ? 1000.0 / perFrame : 0.0, kDrawnFrameTargetMs, CoresAllowed(),
               threads ? threads : "unset");
    }
    StopHeadlessEngine();
    return 0;
}
