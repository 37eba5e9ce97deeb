#include "fake_clock.h"

#include "sys_time.h"

unsigned FakeClock::now = 0;
unsigned FakeClock::slept = 0;

namespace {
unsigned Now() { return FakeClock::now; }
void Sleep(unsigned ms) {
    FakeClock::now += ms;
    FakeClock::slept += ms;
}
}  // namespace

void FakeClock::Install(unsigned start) {
    now = start;
    slept = 0;
    SysClockHooks hooks = {Now, Sleep};
    SysSetClock(&hooks);
}

void FakeClock::Uninstall() { SysSetClock(nullptr); }
