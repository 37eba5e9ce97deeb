// Frame pacing on the millisecond clock. Elapsed times use unsigned arithmetic so the
// clock's wrap-around is harmless; a clock that jumps far ahead only drops the backlog.
#include "frame_timer.h"

#include "sys_rand.h"
#include "sys_time.h"

CFrameTimer g_frameTimer;

void CFrameTimer::Init() {
    m_period = kFramePeriodMs;
    m_extra = kFrameExtraMs;
    m_framesSinceUpdate = 0;
    m_frameMod3 = 0;
    m_due = m_fpsWindowStart = SysGetTicks();
    m_fps = 30.0f;
    m_skip = 0;
    // The only seeding of the random generator in the program.
    GameSrand((unsigned)SysGetCalendarSeconds());
}

void CFrameTimer::MeasureRate(unsigned now) {
    if (++m_framesSinceUpdate < kFpsWindowFrames) return;
    unsigned span = now - m_fpsWindowStart;
    // A stalled or backward clock gives a span of 0: keep the last figure rather than divide by it.
    if (span > 0 && span < 0x80000000u) m_fps = 15000.0f / (float)span;
    m_fpsWindowStart = now;
    m_framesSinceUpdate = 0;
}

int CFrameTimer::NextSlot() {
    if (++m_frameMod3 >= 3) {
        m_frameMod3 = 0;
        return m_period + m_extra;
    }
    return m_period;
}

int CFrameTimer::Pace(unsigned now, unsigned slot) {
    unsigned elapsed = now - m_due;
    if (elapsed < slot) {
        SysSleep(slot - elapsed);
        m_due += slot;
        return 1;
    }
    if (elapsed < kMaxCatchUpSlots * slot)
        m_due += slot;
    else
        m_due = now - slot;  // far behind, or the clock went backwards (a huge unsigned elapsed)
    return 0;
}

void CFrameTimer::Wait() {
    unsigned now = SysGetTicks();
    MeasureRate(now);
    Pace(now, (unsigned)NextSlot());
}

void CFrameTimer::WaitSkip(unsigned skip) {
    unsigned now = SysGetTicks();
    MeasureRate(now);
    unsigned slot = (unsigned)NextSlot();
    if (skip == 0 && Pace(now, slot)) return;
    // Behind or skipping frames: yield briefly; a skipped frame leaves the due time, so the
    // next plain wait catches up.
    SysSleep(1);
}
