// Millisecond clock and sleep standing in for the multimedia timer and Sleep.
// Tests replace both with a fake clock so frame pacing runs without waiting.
#pragma once

unsigned SysGetTicks();          // milliseconds, wraps like a 32-bit counter
void SysSleep(unsigned ms);

// A replacement clock: both hooks or neither. Passing nullptrs restores the real clock.
struct SysClockHooks {
    unsigned (*now)();
    void (*sleep)(unsigned ms);
};
void SysSetClock(const SysClockHooks* hooks);

// Local calendar time, for logs and file names.
struct SysLocalTime {
    int year, month, day, hour, minute, second;
};
SysLocalTime SysGetLocalTime();
long long SysGetCalendarSeconds();
