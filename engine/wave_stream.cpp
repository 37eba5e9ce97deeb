// CWaveStream: a queue of PCM blocks on the sound output; Enqueue waits for a played block.
#include "sound.h"

#include "debug_log.h"

#include "sys_audio.h"

void CWaveStream::Free() {
    if (m_buffer) SysStreamDestroy(m_buffer);
    m_buffer = 0;
    m_size = 0;
    m_writeCursor = 0;
}

int CWaveStream::CreateSoundBuffer(const WaveFormat& format, int blockSize, int blockCount) {
    Free();
    m_size = blockSize * blockCount;
    SysPcmFormat pcm = {(int)format.samplesPerSec, format.bitsPerSample, format.channels};
    if (format.formatTag == kWaveFormatPcm && blockSize > 0) m_buffer = SysStreamCreate(pcm, blockSize, blockCount);
    if (!m_buffer) {
        LogPrintf("CWaveStream::CreateSoundBuffer\n");
        return 0;
    }
    // The wait has no limit as long as the output plays; a stopped output must not hang the caller.
    double bytesPerSec = (double)format.samplesPerSec * format.channels * format.bitsPerSample / 8;
    m_waitMs = 2000 + (unsigned)(2000.0 * m_size / bytesPerSec);
    m_writeCursor = 0;
    return 1;
}

int CWaveStream::Enqueue(const void* data, int bytes) {
    if (!m_buffer || !data || bytes <= 0) return 0;
    if (!SysStreamWaitBlock(m_buffer, m_waitMs)) {
        LogPrintf("time out CWaveStream::Enqueue\n");
        return 0;
    }
    if (!SysStreamQueue(m_buffer, data, (size_t)bytes)) return 0;
    m_writeCursor = (m_writeCursor + bytes) % m_size;
    return 1;
}
