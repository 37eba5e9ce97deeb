// CLatencySampler: a coarse measure of how long a key frame takes from being sent to being
// simulated, one couple of millisecond stamps every 300 frames, averaged once at the finish.
// Its send count is also the count of frames sent that paces a game against the host.
#pragma once

#include <cstdint>

constexpr int kLatencyRing = 20;      // position 0 is never written
constexpr int kLatencyInterval = 300;

class CLatencySampler {
public:
    void Init();
    void SampleSend();      // once per frame sent
    void SampleReceive();   // once per simulation step
    uint32_t AverageLatency() const;  // ms; 0 before the first pair of samples

    uint32_t m_sendStamps[kLatencyRing];
    uint32_t m_recvStamps[kLatencyRing];
    int m_sendCount;
    int m_recvCount;
    int m_sendPos;
    int m_recvPos;
    int m_ringSize;
    int m_sampleInterval;

private:
    void Sample(int* count, int* pos, uint32_t* stamps);
};
