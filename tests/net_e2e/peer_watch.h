// What the end-to-end tests add to the network peer: a heartbeat line every hundred frames,
// script waits on the match's phase and end, and pictures saved on request.
#pragma once

#include <cstdio>
#include <string>

class CNetBattle;
class CSceneDriver;

constexpr int kBeatFrames = 100;

class CPeerWatch {
public:
    // Every frame, with the match running now (null outside one) and its last step.
    void Observe(FILE* out, int frame, const CNetBattle* battle, int step);
    // "until phase N" (of the match running), "until over N" (N matches over so far) and
    // "until file PATH" (the test's signal) and "picture FILE" (the last drawn frame as PNG); 0 for
    // any other line.
    int AddStep(CSceneDriver& d, const std::string& cmd, const std::string& arg);

    const CNetBattle* m_battle = nullptr;  // compared, never read, once the match has gone
    bool m_counted = false;                // this match's end already counted
    int m_phase = -1;
    int m_over = 0;
};
