// Sound output standing in for DirectSound: one stereo 44.1 kHz float mix that an SDL audio
// callback plays, rendered by OpenAL Soft as a loopback device (sound buffers, voices, 3-D
// positions, the listener) with the MIDI synthesiser of sys_music.h added into the same mix.
// Positions and directions are the game's left-handed coordinates (+z ahead of the listener).
#pragma once

#include <cstddef>

constexpr int kAudioRate = 44100;   // the primary buffer's rate; everything is mixed at it
constexpr int kAudioChannels = 2;

// Output
int SysAudioOpen();                 // 1 when the mix runs; without a sound card SDL's dummy driver plays it
void SysAudioClose();
int SysAudioIsOpen();
void SysAudioSetMasterGain(float gain);   // applied to the whole mix, music included
float SysAudioGetMasterGain();

// Tests: stop the output callback so that only SysAudioRender advances the mix, then read it.
void SysAudioSetManualRender(int on);
void SysAudioRender(float* interleaved, int frames);   // frames * kAudioChannels floats

// Sound buffers: PCM data shared by name (the file's absolute path) while any voice uses it.
struct SysPcmFormat {
    int rate;       // samples per second
    int bits;       // 8 (unsigned) or 16 (signed)
    int channels;   // 1 or 2
};
int SysSoundFindBuffer(const char* name);   // counted reference to a loaded buffer; 0 when none
int SysSoundCreateBuffer(const char* name, const SysPcmFormat& format, const void* data, size_t bytes);  // 0 on failure
void SysSoundReleaseBuffer(int buffer);
int SysSoundGetBufferCount();               // distinct buffers alive (tests)

// Voices: one playing instance of a buffer. The OpenAL source behind a voice is taken only when
// it plays and goes back to a shared pool when it stops, so loaded sounds cost no source.
int SysVoiceCreate(int buffer, int positional);   // takes its own reference to the buffer; 0 on failure
void SysVoiceDestroy(int voice);
void SysVoicePlay(int voice, int loop);           // from the start, also when already playing
void SysVoiceStop(int voice);
int SysVoiceIsPlaying(int voice);
void SysVoiceSetGain(int voice, float gain);      // linear, 0 silent
void SysVoiceSetPosition(int voice, float x, float y, float z);  // positional voices only
int SysVoiceGetBuffer(int voice);                 // the buffer it plays (not a new reference)
int SysVoiceGetSourceCount();                     // OpenAL sources created so far (tests)

// One standard effect per voice, in DirectSound's order: 0 reverb, 1 environmental reverb,
// 2 echo, 3 chorus, 4 flanger, 5 gargle, 6 compressor, 7 equaliser, 8 distortion; -1 none.
// The effect is mixed beside the dry sound; without OpenAL's effects extension nothing changes.
constexpr int kSoundEffectLast = 8;
void SysVoiceSetEffect(int voice, int effect);

// Listener (positional voices hear from here).
void SysListenerSetPosition(float x, float y, float z);
void SysListenerSetOrientation(float fx, float fy, float fz, float tx, float ty, float tz);
void SysListenerSetDistanceFactor(float metersPerUnit);

// Streams: a queue of PCM blocks played in order, standing in for a notifying ring buffer.
int SysStreamCreate(const SysPcmFormat& format, int blockBytes, int blockCount);  // starts with silence; 0 on failure
void SysStreamDestroy(int stream);
int SysStreamWaitBlock(int stream, unsigned timeoutMs);   // 1 once a queued block has been played
int SysStreamQueue(int stream, const void* data, size_t bytes);  // after a successful wait; 1 on success
