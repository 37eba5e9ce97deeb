// The one sound output: an SDL audio callback that renders OpenAL's loopback device and adds the
// MIDI synthesiser, so that every sound shares one path and a machine without a sound card runs
// on SDL's dummy driver instead of failing.
#include "audio_local.h"
#include "sdl_local.h"
#include "sys_audio.h"

#include <algorithm>

namespace {

constexpr int kCallbackFrames = 1024;   // about 23 ms at 44.1 kHz

SDL_AudioDeviceID g_device = 0;
int g_open = 0;
int g_ownsSubsystem = 0;
int g_manual = 0;
float g_masterGain = 1.0f;

void Mix(float* out, int frames) {
    AlRenderMix(out, frames);
    MusicRenderAdd(out, frames);
    if (g_masterGain != 1.0f)
        for (int i = 0; i < frames * kAudioChannels; ++i) out[i] *= g_masterGain;
}

void Callback(void*, Uint8* stream, int len) {
    int frames = len / (int)(sizeof(float) * kAudioChannels);
    Mix(reinterpret_cast<float*>(stream), frames);
}

SDL_AudioDeviceID OpenOutput() {
    SDL_AudioSpec want = {};
    want.freq = kAudioRate;
    want.format = AUDIO_F32SYS;
    want.channels = kAudioChannels;
    want.samples = kCallbackFrames;
    want.callback = Callback;
    // No changes allowed: SDL converts to whatever the card wants, the mix stays as specified.
    return SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
}

}  // namespace

void AudioLock() {
    if (g_device) SDL_LockAudioDevice(g_device);
}

void AudioUnlock() {
    if (g_device) SDL_UnlockAudioDevice(g_device);
}

int SysAudioOpen() {
    if (g_open) return 1;
    if (!AlOpen()) return 0;
    int wasInit = SDL_WasInit(SDL_INIT_AUDIO) != 0;
    int ready = SdlInitSubsystem(SDL_INIT_AUDIO);
    if (ready) g_device = OpenOutput();
    if (!g_device && !wasInit) {
        // No usable card (or none at all): play into SDL's dummy driver, which paces the mix alike.
        if (ready) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        ready = SdlInitSubsystem(SDL_INIT_AUDIO);
        if (ready) g_device = OpenOutput();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    g_ownsSubsystem = ready && !wasInit;
    if (!g_device) {
        if (g_ownsSubsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        g_ownsSubsystem = 0;
        AlClose();
        return 0;
    }
    g_open = 1;
    g_manual = 0;
    g_masterGain = 1.0f;
    SDL_PauseAudioDevice(g_device, 0);
    return 1;
}

void SysAudioClose() {
    if (!g_open) return;
    SDL_CloseAudioDevice(g_device);  // waits for a running callback
    g_device = 0;
    if (g_ownsSubsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_ownsSubsystem = 0;
    AlClose();
    g_open = 0;
    g_manual = 0;
}

int SysAudioIsOpen() { return g_open; }

void SysAudioSetMasterGain(float gain) {
    AudioLock();
    g_masterGain = std::max(0.0f, gain);
    AudioUnlock();
}

float SysAudioGetMasterGain() { return g_masterGain; }

void SysAudioSetManualRender(int on) {
    if (!g_open) return;
    g_manual = on ? 1 : 0;
    SDL_PauseAudioDevice(g_device, g_manual);
}

void SysAudioRender(float* interleaved, int frames) {
    if (!g_open || frames <= 0) {
        if (frames > 0) std::fill(interleaved, interleaved + frames * kAudioChannels, 0.0f);
        return;
    }
    AudioLock();
    Mix(interleaved, frames);
    AudioUnlock();
}
