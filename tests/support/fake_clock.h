// A fake millisecond clock: sleeping advances it, nothing waits.
#pragma once

struct FakeClock {
    static unsigned now;
    static unsigned slept;      // total ms slept since Install
    static void Install(unsigned start = 1000);
    static void Uninstall();
    static void Advance(unsigned ms) { now += ms; }
};
