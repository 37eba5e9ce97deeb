// The departure watch: asks for the relay's slot list while the match stands still, and names a
// fighter's game gone only from an answer that left the relay after the stand-still began.
#include "departure_watch.h"

#include "debug_log.h"

void CDepartureWatch::Reset() { *this = CDepartureWatch(); }

void CDepartureWatch::StartAfresh(unsigned now) {
    m_stillSince = now;
    m_asked = m_baseTaken = false;
}

bool CDepartureWatch::Frame(bool stepped, unsigned now, unsigned answers, unsigned connected, unsigned fighters) {
    // A clock that went back shows as a huge gap, and counts afresh too.
    const bool paused = m_running && now - m_lastFrameAt >= kPausedFrameGapMs;
    const bool first = !m_running;
    m_running = true;
    m_lastFrameAt = now;
    if (first || stepped || paused) {
        StartAfresh(now);
        return false;
    }
    if (now - m_stillSince < kStandStillAskMs) return false;
    if (!m_fired && (!m_asked || now - m_askedAt >= kSlotListAskGapMs)) {
        m_wantRequest = true;
        m_askedAt = now;
        if (!m_asked) {
            m_asked = true;
            LogPrintf("battle: no step for %u s, asking the relay which games are connected\n", kStandStillAskMs / 1000);
            return false;
        }
    }
    if (!m_baseTaken) {
        m_baseTaken = true;
        m_answerBase = answers;
        return false;
    }
    if (m_fired || answers == m_answerBase || (fighters & ~connected) == 0) return false;
    m_fired = true;
    return true;
}

bool CDepartureWatch::TakeRequest() {
    const bool wanted = m_wantRequest;
    m_wantRequest = false;
    return wanted;
}
