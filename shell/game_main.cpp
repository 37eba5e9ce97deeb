// The main loop: until the scenes exist, frames run until the window closes.
#include "game_main.h"

#include "engine.h"
#include "graphics.h"
#include "input.h"

#include "sys_info.h"

int GameMain() {
    SysSetFpuRoundNearest();
    while (!g_quit) {
        if (!PumpMessages()) {
            g_quit = 1;
            break;
        }
        if (IsAppActive()) {
            UpdateInput();
            if (BeginFrame(0xFF000000)) EndFrame();
            g_frameTimer.Wait();
        } else {
            WaitMessage();
        }
    }
    return g_quit;
}
