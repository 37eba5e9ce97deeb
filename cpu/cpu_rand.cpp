// The CPU opponents' one source of chance. The game's generator by default; tests put a script
// in its place to steer each choice and to count how many draws a step took.
#include "cpu_ai.h"
#include "sys_rand.h"

namespace {
CpuRandHook g_hook = nullptr;
void* g_context = nullptr;
}  // namespace

int CpuRand() { return g_hook ? g_hook(g_context) : GameRand(); }

void SetCpuRandHook(CpuRandHook hook, void* context) {
    g_hook = hook;
    g_context = hook ? context : nullptr;
}

int CpuRoll(int n) { return CpuRand() % n + 1; }

bool CpuChance(int n) { return CpuRoll(n) == 1; }
