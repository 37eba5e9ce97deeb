// The sound device: start-up with its options and log lines, the output volume and the 3-D
// listener, over the platform's sound output.
#include "sound.h"

#include "debug_log.h"
#include "engine.h"

#include "sys_audio.h"
#include "sys_window.h"

#include <cmath>

namespace {

int g_deviceUp = 0;
int g_primaryUp = 0;
int g_listenerUp = 0;
int g_3dSound = 0;
int g_effects = 1;
int g_primaryVolume = kVolumeMax;
int g_savedPrimaryVolume = kVolumeMax;

int Fail(const char* text) {
    SysMessageBox("エラー", text);
    return 0;
}

}  // namespace

int InitDirectSound() {
    DebugSeparator();
    LogPrintf("InitDirectSound\n");
    if (!SysAudioOpen()) return Fail("DirectSoundの初期化に失敗しました.");
    g_deviceUp = 1;
    return CreatePrimaryBuffer();
}

int CreatePrimaryBuffer() {
    LogPrintf("3Dサウンド = ");
    g_3dSound = HasCommandLineOption("-3ds") ? 1 : 0;
    LogPrintf(g_3dSound ? "ON\n" : "OFF\n");
    LogPrintf("エフェクト = ");
    g_effects = HasCommandLineOption("/fx") ? 0 : 1;
    LogPrintf(g_effects ? "ON\n" : "OFF\n");
    // The output always mixes 44.1 kHz 16-bit stereo (float inside); the format is kept for callers.
    WaveFormat primary;
    MakePcmFormat(&primary, kAudioRate, 16, kAudioChannels);
    g_primaryUp = 1;
    g_savedPrimaryVolume = g_primaryVolume;
    if (!g_3dSound) return 1;
    g_listenerUp = 1;
    SetListenerDistanceFactor(1.0f);
    SetListenerPosition(0, 0, 0);
    SetListenerOrientation(0, 0, 1, 0, 1, 0);
    return 1;
}

void FreeDirectSound() {
    if (!g_deviceUp) return;
    DebugSeparator();
    LogPrintf("FreeDirectSound\n");
    if (g_primaryUp) SetPrimaryVolume(g_savedPrimaryVolume);
    g_listenerUp = 0;
    g_primaryUp = 0;
    SysAudioClose();
    g_deviceUp = 0;
}

void RestorePrimaryBuffer() {}

int IsSoundDeviceUp() { return g_deviceUp; }

void SetPrimaryVolume(int volume) {
    // DirectSound refuses volumes outside its range and keeps the old one.
    if (!g_primaryUp || volume > kVolumeMax || volume < kVolumeMin) return;
    g_primaryVolume = volume;
    SysAudioSetMasterGain(VolumeToGain(volume));
}

void SetMasterLevel(double level) { SetPrimaryVolume((int)((1.0 - level) * kVolumeMin)); }

void MakePcmFormat(WaveFormat* format, int rate, int bits, int channels) {
    format->formatTag = kWaveFormatPcm;
    format->channels = (uint16_t)channels;
    format->samplesPerSec = (uint32_t)rate;
    format->blockAlign = (uint16_t)(channels * bits / 8);
    format->avgBytesPerSec = (uint32_t)rate * format->blockAlign;
    format->bitsPerSample = (uint16_t)bits;
    format->extraSize = 0;
}

int Is3DSoundEnabled() { return g_3dSound; }
int IsSoundEffectsEnabled() { return g_effects; }

void SetListenerDistanceFactor(float factor) {
    if (g_listenerUp) SysListenerSetDistanceFactor(factor);
}

void SetListenerPosition(float x, float y, float z) {
    if (g_listenerUp) SysListenerSetPosition(x, y, z);
}

void SetListenerOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ) {
    if (g_listenerUp) SysListenerSetOrientation(frontX, frontY, frontZ, topX, topY, topZ);
}

int LevelToVolume(double level) {
    if (!(level >= 0.0)) level = 0.0;  // NaN counts as 0 too
    if (level > 1.0) level = 1.0;
    double h = 0.5 + 0.5 * level;
    return (int)((1.0 - h) * kVolumeMin);
}

float VolumeToGain(int volume) {
    if (volume <= kVolumeMin) return 0.0f;
    if (volume >= kVolumeMax) return 1.0f;
    return (float)std::pow(10.0, volume / 2000.0);
}
