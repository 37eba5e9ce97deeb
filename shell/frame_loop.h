// The frame loop every scene and menu of the shell runs: the quit flag and the loop's own end
// condition before each pass, the message pump, then input, the frame and the frame wait while
// the application is active, or a blocking wait for the next window message while it is not.
#pragma once

#include "engine.h"

// One pass's pump: pumps the messages (a quit message sets the quit flag); while active polls
// input and returns 1 (run the frame); while inactive blocks for the next message and returns 0.
int PumpFramePass();

// done() is tested before each pass; frame() runs one frame and returns 0 to leave at once
// (without the frame wait), 1 to go on.
template <typename Done, typename Frame>
void RunFrameLoop(Done done, Frame frame) {
    while (!g_quit && !done()) {
        if (!PumpFramePass()) continue;
        if (!frame()) return;
        g_frameTimer.Wait();
    }
}
