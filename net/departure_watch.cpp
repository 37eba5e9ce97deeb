// The departure watch: asks for the relay's slot list while the match stands still, and names a
// fighter's game gone from any list that came during the match and showed its slot free.
#include "departure_watch.h"

#include "debug_log.h"

void CDepartureWatch::Reset() { *this = CDepartureWatch(); }

void CDepartureWatch::StartAfresh(unsigned now) {
    m_stillSince = now;
    m_asked = false;
}

bool CDepartureWatch::Frame(bool stepped, unsigned now, const unsigned (&shownFree)[kWatchedSlots], unsigned fighters) {
    // A clock that went back shows as a huge gap, and counts afresh too.
    const bool paused = m_running && now - m_lastFrameAt >= kPausedFrameGapMs;
    const bool first = !m_running;
    m_running = true;
    m_lastFrameAt = now;
    // Compared for change only: the counts may wrap.
    for (int slot = 0; slot < kWatchedSlots; ++slot) {
        if (first) m_base[slot] = shownFree[slot];
        if (shownFree[slot] != m_base[slot]) m_gone |= 1u << slot;
    }
    if (first || stepped || paused) {
        StartAfresh(now);
        return false;
    }
    // A game still stepping has every key it needs: a fighter that left after sending the
    // match's last keys must not cut off its end.
    if (m_fired || now - m_stillSince < kStandStillAskMs) return false;
    if (fighters & m_gone) {
        m_fired = true;
        return true;
    }
    if (!m_asked || now - m_askedAt >= kSlotListAskGapMs) {
        m_wantRequest = true;
        m_askedAt = now;
        if (!m_asked) LogPrintf("battle: no step for %u s, asking the relay which games are connected\n", kStandStillAskMs / 1000);
        m_asked = true;
    }
    return false;
}

bool CDepartureWatch::TakeRequest() {
    const bool wanted = m_wantRequest;
    m_wantRequest = false;
    return wanted;
}
