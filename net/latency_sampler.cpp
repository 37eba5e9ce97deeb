// The latency sampler: stamps on the platform's millisecond clock. A span is the unsigned 32-bit
// difference read as signed, so a clock that wraps between a send and its step still gives it,
// and a step stamped before its send (two frames run ahead on the preset keys, which a fast
// relay lets happen) gives a small negative span rather than four billion milliseconds.
#include "latency_sampler.h"

#include "sys_time.h"

void CLatencySampler::Init() {
    for (int i = 0; i < kLatencyRing; ++i) m_sendStamps[i] = m_recvStamps[i] = 0;
    m_sendCount = m_recvCount = 0;
    m_sendPos = m_recvPos = 0;
    m_ringSize = kLatencyRing;
    m_sampleInterval = kLatencyInterval;
}

void CLatencySampler::Sample(int* count, int* pos, uint32_t* stamps) {
    if (*count < 0x7fffffff) ++*count;  // a match never runs that long; the count must not wrap
    if (*count % m_sampleInterval != 1) return;
    ++*pos;
    if (*pos >= m_ringSize) *pos = m_ringSize - 1;
    stamps[*pos] = SysGetTicks();
}

void CLatencySampler::SampleSend() { Sample(&m_sendCount, &m_sendPos, m_sendStamps); }
void CLatencySampler::SampleReceive() { Sample(&m_recvCount, &m_recvPos, m_recvStamps); }

uint32_t CLatencySampler::AverageLatency() const {
    // A step's sample may be taken before the matching send sample exists (the preset frames
    // run ahead): only pairs with both halves count.
    int n = m_recvPos < m_sendPos ? m_recvPos : m_sendPos;
    if (n <= 0) return 0;
    int64_t sum = 0;
    for (int i = 1; i <= n; ++i) sum += (int32_t)(m_recvStamps[i] - m_sendStamps[i]);
    return sum > 0 ? (uint32_t)(sum / n) : 0;  // a mean below zero says only "no measurable lag"
}
