// CDepartureWatch: tells an online match that stands still because a fighter's game is gone from
// one that stands still because a game is only paused (the free camera, a window in the
// background, a slow load, a stopped process); for a paused game the others wait, however long.
// Only the relay knows which games are still connected, so while the match stands still the
// watch asks for the relay's slot list, and only answers to a request of this stand-still count.
#pragma once

constexpr unsigned kStandStillAskMs = 2000;   // no step this long: ask the relay who is connected
constexpr unsigned kSlotListAskGapMs = 2000;  // and again this often while the match stands still
// Frames this far apart mean this game itself was paused: its clock and what it heard before
// are stale, so the stand-still is counted afresh. Well above the slowest frame of a busy
// machine, which would otherwise never get to ask.
constexpr unsigned kPausedFrameGapMs = 3000;

class CDepartureWatch {
public:
    void Reset();
    // Once a frame in which the match can step, outside the simulation: whether the frame
    // stepped, the clock in ms, the number of slot lists the relay has answered so far and who
    // the latest shows connected (bit i for slot i), and the slots whose games run a robot.
    // True once: on the frame a fresh answer shows one of those slots not connected.
    bool Frame(bool stepped, unsigned now, unsigned answers, unsigned connected, unsigned fighters);
    bool TakeRequest();  // true once for every slot-list request the watch wants sent

private:
    void StartAfresh(unsigned now);

    bool m_running = false;      // m_lastFrameAt holds a time
    unsigned m_lastFrameAt = 0;
    unsigned m_stillSince = 0;   // ms: the last frame that stepped, or the start afresh
    bool m_asked = false;        // a request of this stand-still has been wanted
    unsigned m_askedAt = 0;
    // Answers up to this count may have left the relay before the first request of the
    // stand-still did: it is taken on the frame after that request was wanted, whose service
    // sent it.
    bool m_baseTaken = false;
    unsigned m_answerBase = 0;
    bool m_wantRequest = false;
    bool m_fired = false;
};
