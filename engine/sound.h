// Sound effects: the sound device (44.1 kHz 16-bit stereo), the 3-D listener, CSound (one PCM
// WAV file played once or looped, with volume, level and 3-D position) and CWaveStream.
// Volumes are in hundredths of a decibel: 0 full volume, -10000 silence.
#pragma once

#include "wave_file.h"

#include <cstddef>
#include <string>

constexpr int kVolumeMax = 0;
constexpr int kVolumeMin = -10000;

// Device
int InitDirectSound();              // 1 when up; a failure shows its message box
void FreeDirectSound();
int CreatePrimaryBuffer();          // reads "-3ds" and "/fx"; 1 on success
void RestorePrimaryBuffer();        // nothing is ever lost here; kept for its callers
void SetPrimaryVolume(int volume);  // the whole output, music included
void SetMasterLevel(double level);  // 0..1
void MakePcmFormat(WaveFormat* format, int rate, int bits, int channels);
int IsSoundDeviceUp();

// Options read at start-up
int Is3DSoundEnabled();             // "-3ds"
int IsSoundEffectsEnabled();        // not "/fx"

// Listener: only with 3-D sound, else nothing happens.
void SetListenerDistanceFactor(float factor);
void SetListenerPosition(float x, float y, float z);
void SetListenerOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ);

// Levels: 1 full, 0 quiet; the engine sound of robots uses LevelToVolume (-5000 .. 0).
int LevelToVolume(double level);
float VolumeToGain(int volume);     // hundredths of a dB as a linear factor

class CSound {
public:
    CSound() = default;
    ~CSound() { Release(); }
    int Load(const char* fileName);     // 1 on success; failures log why and leave it silent
    void Play(int loop);                // from the start, also when already playing
    void Stop();
    int IsPlaying() const;
    void SetVolume(int volume);
    void SetLevel(double level);        // 1 full volume, 0 silence
    void SetPosition3D(float x, float y, float z);  // only with 3-D sound
    void Release();
    int Duplicate(const CSound& other); // shares the other's data; 1 on success
    void SetEffect(int effect);         // -1 none; 0..8 one standard effect
    const std::string& GetFileName() const { return m_fileName; }
    int IsLoaded() const { return m_buffer ? 1 : 0; }

    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

private:
    int CreateBuffer(const char* key, const WaveFormat& format, const void* data, size_t size);
    int GetInterfaces(int buffer);

    int m_buffer = 0;       // the playing voice; 0 when empty
    int m_buffer8 = 0;      // effects available (the effects flag was on)
    int m_buffer3D = 0;     // positioned in 3-D (the 3-D flag was on)
    std::string m_fileName;
    int m_effect = -1;
};

// A buffer fed block by block; Enqueue blocks until the device has played a block.
class CWaveStream {
public:
    CWaveStream() = default;
    ~CWaveStream() { Free(); }
    int CreateSoundBuffer(const WaveFormat& format, int blockSize, int blockCount);
    int Enqueue(const void* data, int bytes);
    void Free();

    CWaveStream(const CWaveStream&) = delete;
    CWaveStream& operator=(const CWaveStream&) = delete;

private:
    int m_buffer = 0;
    unsigned m_waitMs = 0;  // how long a block may take before the output counts as stopped
    int m_size = 0;
    int m_writeCursor = 0;
};
