// The process-wide random generator of the game, with a 15-bit range (0 to kRandMax), the range
// every draw in the game is scaled for.
// All game code draws from here; the C library's rand is never used, so sequences are the
// same on every machine for the same seed.
#pragma once

constexpr int kRandMax = 32767;

int GameRand();                 // 0 .. kRandMax
void GameSrand(unsigned seed);
