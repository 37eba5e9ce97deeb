// CSound: one WAV file in a voice of its own. Sounds loaded from the same file share their
// samples, so a battle's many copies of one effect cost its data once.
#include "sound.h"

#include "debug_log.h"

#include "sys_audio.h"
#include "sys_path.h"

namespace {

// Shared data is keyed by the file's absolute path: the same relative name may be another
// file in another folder.
std::string BufferKey(const char* fileName) {
    std::string mapped = SysMapPath(fileName);
    if (!mapped.empty() && mapped[0] == '/') return mapped;
    return SysGetCurrentDir() + "/" + mapped;
}

// DirectSound's buffer rates; outside them a buffer is refused, as a damaged header's rate must be.
constexpr uint32_t kMinRate = 100;
constexpr uint32_t kMaxRate = 200000;

int IsPlayableFormat(const WaveFormat& f) {
    return (f.channels == 1 || f.channels == 2) && (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
           f.samplesPerSec >= kMinRate && f.samplesPerSec <= kMaxRate;
}

}  // namespace

int CSound::Load(const char* fileName) {
    if (m_buffer) Release();
    LogPrintf("load(%s) ... ", fileName);
    m_fileName = fileName;
    std::string key = BufferKey(fileName);
    int shared = SysSoundFindBuffer(key.c_str());
    if (shared) {
        int ok = GetInterfaces(shared);
        SysSoundReleaseBuffer(shared);  // the voice holds its own reference
        if (!ok) return 0;
        LogPrintf("ok.\n");
        return 1;
    }
    WaveFormat format;
    std::vector<uint8_t> data;
    WaveResult result = ReadWaveFile(fileName, &format, &data);
    if (result != WaveResult::Ok) {
        LogPrintf("%s", WaveResultText(result));
        return 0;
    }
    if (!CreateBuffer(key.c_str(), format, data.data(), data.size())) return 0;
    LogPrintf("ok.\n");
    return 1;
}

int CSound::CreateBuffer(const char* key, const WaveFormat& format, const void* data, size_t size) {
    // The effects need no minimum length, so a sound of a single sample frame still plays; only
    // a format the mixer cannot take, or less than one frame, is refused.
    if (!IsPlayableFormat(format) || size < (size_t)format.channels * format.bitsPerSample / 8) {
        LogPrintf("can't create buffer.\n");
        return 0;
    }
    SysPcmFormat pcm = {(int)format.samplesPerSec, format.bitsPerSample, format.channels};
    int buffer = SysSoundCreateBuffer(key, pcm, data, size);
    if (!buffer) {
        LogPrintf(SysAudioIsOpen() ? "out of memory.\n" : "can't create buffer.\n");
        return 0;
    }
    int ok = GetInterfaces(buffer);
    SysSoundReleaseBuffer(buffer);
    return ok;
}

int CSound::GetInterfaces(int buffer) {
    m_buffer = SysVoiceCreate(buffer, Is3DSoundEnabled());
    if (!m_buffer) {
        LogPrintf("can't create buffer.\n");
        return 0;
    }
    m_buffer8 = IsSoundEffectsEnabled();
    m_buffer3D = Is3DSoundEnabled();
    m_effect = -1;
    return 1;
}

void CSound::Play(int loop) {
    if (m_buffer) SysVoicePlay(m_buffer, loop);
}

void CSound::Stop() {
    if (m_buffer) SysVoiceStop(m_buffer);
}

int CSound::IsPlaying() const { return m_buffer ? SysVoiceIsPlaying(m_buffer) : 0; }

void CSound::SetVolume(int volume) {
    // DirectSound refuses volumes outside its range and keeps the old one.
    if (!m_buffer || volume > kVolumeMax || volume < kVolumeMin) return;
    SysVoiceSetGain(m_buffer, VolumeToGain(volume));
}

void CSound::SetLevel(double level) {
    if (m_buffer) SetVolume((int)((1.0 - level) * kVolumeMin));
}

void CSound::SetPosition3D(float x, float y, float z) {
    if (Is3DSoundEnabled() && m_buffer3D && m_buffer) SysVoiceSetPosition(m_buffer, x, y, z);
}

void CSound::Release() {
    if (!m_fileName.empty()) {
        LogPrintf("release(%s)\n", m_fileName.c_str());
        m_fileName.clear();
    }
    Stop();
    if (m_buffer) SysVoiceDestroy(m_buffer);
    m_buffer = 0;
    m_buffer8 = 0;
    m_buffer3D = 0;
    m_effect = -1;
}

int CSound::Duplicate(const CSound& other) {
    if (m_buffer) Release();
    int buffer = other.m_buffer ? SysVoiceGetBuffer(other.m_buffer) : 0;
    if (!buffer) return 0;
    m_buffer = SysVoiceCreate(buffer, Is3DSoundEnabled());
    if (!m_buffer) return 0;
    m_buffer8 = IsSoundEffectsEnabled();
    m_buffer3D = Is3DSoundEnabled();
    return 1;
}

void CSound::SetEffect(int effect) {
    if (!m_buffer8 || !m_buffer) return;
    if (effect < -1 || effect > kSoundEffectLast) effect = -1;
    m_effect = effect;
    SysVoiceSetEffect(m_buffer, effect);
}
