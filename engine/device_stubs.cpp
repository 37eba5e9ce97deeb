// Devices not built yet start and stop as empty steps, so the start-up order is already real.
#include "debug_log.h"
#include "music.h"
#include "sound.h"

namespace {
int g_sound = 0, g_music = 0;

int StartStep(int& flag, const char* name) {
    DebugSeparator();
    LogPrintf("%s\n", name);
    flag = 1;
    return 1;
}

void StopStep(int& flag, const char* name) {
    if (!flag) return;
    DebugSeparator();
    LogPrintf("%s\n", name);
    flag = 0;
}
}  // namespace

int InitDirectSound() { return StartStep(g_sound, "InitDirectSound"); }
void FreeDirectSound() { StopStep(g_sound, "FreeDirectSound"); }
int InitDirectMusic() { return StartStep(g_music, "InitDirectMusic"); }
void FreeDirectMusic() { StopStep(g_music, "FreeDirectMusic"); }
void PlaceVideoWindow() {}
