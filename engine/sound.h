// Sound effects (placeholder until sound is built).
#pragma once

int InitDirectSound();   // 1 when the device is up
void FreeDirectSound();

