// What the end-to-end tests add to the network peer: a heartbeat line every hundred frames,
// script waits on the match's phase and end, and pictures saved on request.
#pragma once

#include <cstdio>
#include <string>

class CNetBattle;
class CSceneDriver;

constexpr int kBeatFrames = 100;
constexpr int kPressDownFrames = 3;   // a press as a person makes it
constexpr int kPressAgainFrames = 8;  // from one press to the next while the phase has not begun
constexpr int kStallLimitMs = 600000;  // a stalled game goes on by itself after this, the test gone

class CPeerWatch {
public:
    // Every frame, with the match running now (null outside one) and its last step.
    void Observe(FILE* out, int frame, const CNetBattle* battle, int step);
    // "until phase N" (of the match running), "until over N" (N matches over so far),
    // "until file PATH" (the test's signal), "stall until file PATH" (the game stopped in its frame
    // until the signal) and "picture FILE" (the last drawn frame as PNG); 0 for any other line.
    int AddStep(CSceneDriver& d, const std::string& cmd, const std::string& arg);
    // The key pressed again and again until the match's phase is N. A battle reads some keys only
    // in a step, and a frame that polls input without stepping lets a press go by unread, so a
    // press held any fixed number of frames can be lost. A press is never repeated once the phase
    // has begun: one read since would have begun it by the next frame.
    void PressUntilPhase(CSceneDriver& d, int key, int phase);

    const CNetBattle* m_battle = nullptr;  // compared, never read, once the match has gone
    bool m_counted = false;                // this match's end already counted
    int m_phase = -1;
    int m_over = 0;
};
