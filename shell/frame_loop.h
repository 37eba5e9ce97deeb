// The frame loop every scene and menu of the shell runs: the quit flag and the loop's own end
// condition before each pass, the message pump, then input, the frame and the frame wait while
// the application is active, or a blocking wait for the next window message while it is not.
// Battle loops keep their battle running while inactive and pace themselves by its frame skip.
#pragma once

#include "engine.h"

// One pass's pump: pumps the messages (a quit message sets the quit flag); while active polls
// input and returns 1 (run the frame); while inactive blocks for the next message and returns 0.
int PumpFramePass();
// A battle pass's pump: the messages (a quit message sets the quit flag), then input while active.
void PumpBattlePass();

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

// Battle loops (test battle, campaign stages, online battle): every pass pumps, polls input only
// while active, runs the battle's frame whether active or not, and ends with the frame timer's
// skip-aware wait. over() is tested after the quit flag; skipCount() is read after the frame.
template <typename Over, typename Run, typename SkipCount>
void RunBattleLoop(Over over, Run run, SkipCount skipCount) {
    while (!g_quit && !over()) {
        PumpBattlePass();
        run();
        g_frameTimer.WaitSkip((unsigned)skipCount());
    }
}
