// CDepartureWatch: tells an online match that stands still because a fighter's game is gone from
// one that stands still because a game is only paused (the free camera, a window in the
// background, a slow load, a stopped process). Only the relay knows which games are still
// connected. Its slot list shows a slot whose game left since the recipient's last list as free,
// even when a newcomer has taken the slot since, so any list that arrives during the match and
// shows a fighter's slot free proves that fighter's game gone for good. While the match stands
// still the watch asks for lists, and once the match has stood still long enough and such a list
// has come, it ends the match.
// How long a paused or stopped game is waited for: while the host's game runs, its tick keeps
// the others sending keys, and their key buffers reach their cap (kKeyBufferCap) after about five
// minutes, which ends the match; a paused host's game stops the tick, and it is waited for as
// long as it stays paused. The relay keeps a stopped game for as long as its machine takes what
// is sent to it, which at a match's pace outlasts those five minutes. A game whose machine has
// vanished answers nothing at all: the relay gives up on it within about 20 s, and the match
// ends a few seconds later.
#pragma once

constexpr unsigned kStandStillAskMs = 2000;   // no step this long: ask the relay who is connected
constexpr unsigned kSlotListAskGapMs = 2000;  // and again this often while the match stands still
// Frames this far apart mean this game itself was paused: its clock is stale, so the stand-still
// is counted afresh. Well above the slowest frame of a busy machine, which would otherwise never
// get to ask.
constexpr unsigned kPausedFrameGapMs = 3000;
constexpr int kWatchedSlots = 6;              // the relay's slots

class CDepartureWatch {
public:
    void Reset();
    // Once a frame in which the match can step, outside the simulation: whether the frame
    // stepped, the clock in ms, for each relay slot how many of the relay's slot lists applied so
    // far showed it free, and the slots whose games run a robot. The counts on the first frame
    // are the base: lists applied before the match say nothing about it. True once: on a frame
    // of a stand-still of kStandStillAskMs or more, when a list since the base showed one of
    // those slots free.
    bool Frame(bool stepped, unsigned now, const unsigned (&shownFree)[kWatchedSlots], unsigned fighters);
    bool TakeRequest();             // true once for every slot-list request the watch wants sent
    unsigned GoneSlots() const { return m_gone; }  // slots a list since the base showed free

private:
    void StartAfresh(unsigned now);

    bool m_running = false;         // m_lastFrameAt and m_base hold values
    unsigned m_lastFrameAt = 0;
    unsigned m_base[kWatchedSlots] = {};
    unsigned m_gone = 0;
    unsigned m_stillSince = 0;      // ms: the last frame that stepped, or the start afresh
    bool m_asked = false;           // a request of this stand-still has been wanted
    unsigned m_askedAt = 0;
    bool m_wantRequest = false;
    bool m_fired = false;
};
