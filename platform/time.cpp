// Real clock over CLOCK_MONOTONIC, swappable for a fake one in tests.
#include "sys_time.h"

#include <ctime>

namespace {
SysClockHooks g_hooks = {nullptr, nullptr};
}

unsigned SysGetTicks() {
    if (g_hooks.now) return g_hooks.now();
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (unsigned)((unsigned long long)ts.tv_sec * 1000ull + (unsigned long long)ts.tv_nsec / 1000000ull);
}

void SysSleep(unsigned ms) {
    if (g_hooks.sleep) {
        g_hooks.sleep(ms);
        return;
    }
    timespec ts;
    ts.tv_sec = ms / 1000;
    ts.tv_nsec = (long)(ms % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0) {
    }
}

void SysSetClock(const SysClockHooks* hooks) {
    if (hooks && hooks->now && hooks->sleep)
        g_hooks = *hooks;
    else
        g_hooks = {nullptr, nullptr};
}

SysLocalTime SysGetLocalTime() {
    time_t t = time(nullptr);
    tm local;
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

long long SysGetCalendarSeconds() { return (long long)time(nullptr); }
