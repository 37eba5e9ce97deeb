// The benchmarks' clock: the game's own counts whole milliseconds, far coarser than a step.
#pragma once

#include <time.h>

inline double NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}
