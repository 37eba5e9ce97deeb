// The game's random generator has the classic runtime's range and sequence.
#include "sys_rand.h"

#include <gtest/gtest.h>

TEST(GameRand, SequenceAfterSeedOne) {
    GameSrand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int v : expected) EXPECT_EQ(GameRand(), v);
}

TEST(GameRand, StaysInFifteenBits) {
    GameSrand(0xdeadbeef);
    int lo = kRandMax, hi = 0;
    for (int i = 0; i < 100000; ++i) {
        int v = GameRand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, kRandMax);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_LT(lo, 100);
    EXPECT_GT(hi, kRandMax - 100);
}
