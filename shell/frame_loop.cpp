// The pump half of the frame loop, shared by every loop of the shell.
#include "frame_loop.h"

#include "input.h"

int PumpFramePass() {
    if (!PumpMessages()) g_quit = 1;
    if (!IsAppActive()) {
        WaitMessage();
        return 0;
    }
    UpdateInput();
    return 1;
}

void PumpBattlePass() {
    if (!PumpMessages()) g_quit = 1;
    if (IsAppActive()) UpdateInput();
}
