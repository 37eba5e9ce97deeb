// Linear congruential generator of the classic runtime: state * 214013 + 2531011, bits 16..30.
#include "sys_rand.h"

namespace {
unsigned g_state = 1;
}

int GameRand() {
    g_state = g_state * 214013u + 2531011u;
    return (int)((g_state >> 16) & 0x7fff);
}

void GameSrand(unsigned seed) { g_state = seed; }
