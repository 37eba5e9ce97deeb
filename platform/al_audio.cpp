// OpenAL Soft behind the sound buffers, voices, listener and streams. The device is a loopback
// device: nothing plays by itself, the output mixer pulls samples for its callback.
#include "audio_local.h"
#include "sys_audio.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/efx.h>

#include <SDL2/SDL_timer.h>

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// A battle loads a few hundred sounds but few play at once; sources are made on demand up to this.
constexpr int kMaxMonoSources = 1024;
constexpr int kMaxStereoSources = 64;
constexpr int kMaxStreamBlocks = 64;

LPALCLOOPBACKOPENDEVICESOFT g_openLoopback = nullptr;
LPALCRENDERSAMPLESSOFT g_renderSamples = nullptr;
ALCdevice* g_device = nullptr;
ALCcontext* g_context = nullptr;

struct Buffer {
    ALuint id = 0;
    int refs = 0;            // 0: slot free
    std::string name;
};
std::vector<Buffer> g_buffers;                 // handle = index + 1
std::map<std::string, int> g_buffersByName;    // name -> handle

struct Voice {
    int used = 0;
    int effect = -1;
    int buffer = 0;
    int positional = 0;
    int source = 0;          // pool index + 1 while it holds a source
    float gain = 1.0f;
    float pos[3] = {0, 0, 0};
};
std::vector<Voice> g_voices;                   // handle = index + 1

struct Source {
    ALuint id = 0;
    int owner = 0;           // voice handle, 0 when free
};
std::vector<Source> g_sources;

struct Stream {
    int used = 0;
    ALuint source = 0;
    ALuint blocks[kMaxStreamBlocks] = {};
    int blockCount = 0;
    ALenum format = 0;
    int rate = 0;
    int frameBytes = 0;
};
std::vector<Stream> g_streams;                 // handle = index + 1

// Effects: one shared effect and slot per kind, made when first asked for.
struct Efx {
    LPALGENEFFECTS genEffects;
    LPALDELETEEFFECTS deleteEffects;
    LPALEFFECTI effecti;
    LPALGENAUXILIARYEFFECTSLOTS genSlots;
    LPALDELETEAUXILIARYEFFECTSLOTS deleteSlots;
    LPALAUXILIARYEFFECTSLOTI sloti;
} g_efx = {};
int g_hasEfx = 0;
ALuint g_effects[kSoundEffectLast + 1] = {};
ALuint g_effectSlots[kSoundEffectLast + 1] = {};
// Gargle is an amplitude modulation: the ring modulator is OpenAL's nearest kind.
const ALint kEffectKinds[kSoundEffectLast + 1] = {
    AL_EFFECT_REVERB, AL_EFFECT_EAXREVERB, AL_EFFECT_ECHO, AL_EFFECT_CHORUS, AL_EFFECT_FLANGER,
    AL_EFFECT_RING_MODULATOR, AL_EFFECT_COMPRESSOR, AL_EFFECT_EQUALIZER, AL_EFFECT_DISTORTION};

void LoadEfx() {
    g_hasEfx = 0;
    if (!alcIsExtensionPresent(g_device, "ALC_EXT_EFX")) return;
    g_efx.genEffects = (LPALGENEFFECTS)alGetProcAddress("alGenEffects");
    g_efx.deleteEffects = (LPALDELETEEFFECTS)alGetProcAddress("alDeleteEffects");
    g_efx.effecti = (LPALEFFECTI)alGetProcAddress("alEffecti");
    g_efx.genSlots = (LPALGENAUXILIARYEFFECTSLOTS)alGetProcAddress("alGenAuxiliaryEffectSlots");
    g_efx.deleteSlots = (LPALDELETEAUXILIARYEFFECTSLOTS)alGetProcAddress("alDeleteAuxiliaryEffectSlots");
    g_efx.sloti = (LPALAUXILIARYEFFECTSLOTI)alGetProcAddress("alAuxiliaryEffectSloti");
    g_hasEfx = g_efx.genEffects && g_efx.deleteEffects && g_efx.effecti && g_efx.genSlots &&
               g_efx.deleteSlots && g_efx.sloti;
}

void FreeEfx() {
    for (int i = 0; i <= kSoundEffectLast; ++i) {
        if (g_effectSlots[i]) g_efx.deleteSlots(1, &g_effectSlots[i]);
        if (g_effects[i]) g_efx.deleteEffects(1, &g_effects[i]);
        g_effectSlots[i] = g_effects[i] = 0;
    }
}

// The slot of an effect kind, or 0 (no effect) when it cannot be made.
ALuint EffectSlot(int effect) {
    if (!g_hasEfx || effect < 0 || effect > kSoundEffectLast) return 0;
    if (g_effectSlots[effect]) return g_effectSlots[effect];
    ALuint fx = 0, slot = 0;
    alGetError();
    g_efx.genEffects(1, &fx);
    if (alGetError() != AL_NO_ERROR) return 0;
    g_efx.effecti(fx, AL_EFFECT_TYPE, kEffectKinds[effect]);
    g_efx.genSlots(1, &slot);
    if (alGetError() != AL_NO_ERROR) {
        g_efx.deleteEffects(1, &fx);
        if (slot) g_efx.deleteSlots(1, &slot);
        return 0;
    }
    g_efx.sloti(slot, AL_EFFECTSLOT_EFFECT, (ALint)fx);
    g_effects[effect] = fx;
    g_effectSlots[effect] = slot;
    return slot;
}

void ApplyEffect(const Voice& v, ALuint source) {
    if (!g_hasEfx) return;
    ALuint slot = EffectSlot(v.effect);
    alSource3i(source, AL_AUXILIARY_SEND_FILTER, slot ? (ALint)slot : AL_EFFECTSLOT_NULL, 0, AL_FILTER_NULL);
}

ALenum AlFormat(const SysPcmFormat& f) {
    if (f.channels == 1 && f.bits == 8) return AL_FORMAT_MONO8;
    if (f.channels == 1 && f.bits == 16) return AL_FORMAT_MONO16;
    if (f.channels == 2 && f.bits == 8) return AL_FORMAT_STEREO8;
    if (f.channels == 2 && f.bits == 16) return AL_FORMAT_STEREO16;
    return 0;
}

// DirectSound's coordinates are left-handed, OpenAL's right-handed: z turns round.
void ToAl(float* v) { v[2] = -v[2]; }

// Handles carry the device's generation, so a handle kept past a close never names a new object.
constexpr int kHandleIndexBits = 20;
int g_generation = 0;

int MakeHandle(size_t index) { return (g_generation << kHandleIndexBits) | (int)(index + 1); }

template <class T>
T* FromHandle(std::vector<T>& list, int h) {
    if (h <= 0 || (h >> kHandleIndexBits) != g_generation) return nullptr;
    size_t i = (size_t)(h & ((1 << kHandleIndexBits) - 1)) - 1;
    return i < list.size() ? &list[i] : nullptr;
}

// The first unused slot of a list, appended when all are in use.
template <class T, class Used>
size_t FreeSlot(std::vector<T>& list, Used used) {
    for (size_t i = 0; i < list.size(); ++i)
        if (!used(list[i])) return i;
    list.emplace_back();
    return list.size() - 1;
}

Buffer* GetBuffer(int h) {
    Buffer* b = FromHandle(g_buffers, h);
    return b && b->refs ? b : nullptr;
}

Voice* GetVoice(int h) {
    Voice* v = FromHandle(g_voices, h);
    return v && v->used ? v : nullptr;
}

Stream* GetStream(int h) {
    Stream* s = FromHandle(g_streams, h);
    return s && s->used ? s : nullptr;
}

// The source the voice still owns, or null when it was given to another voice.
Source* OwnedSource(int voiceHandle, const Voice& v) {
    if (!v.source) return nullptr;
    Source& s = g_sources[v.source - 1];
    return s.owner == voiceHandle ? &s : nullptr;
}

int SourcePlaying(ALuint id) {
    ALint state = 0;
    alGetSourcei(id, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void ApplyPlacement(const Voice& v, ALuint id) {
    if (v.positional) {
        float p[3] = {v.pos[0], v.pos[1], v.pos[2]};
        ToAl(p);
        alSourcei(id, AL_SOURCE_RELATIVE, AL_FALSE);
        alSourcefv(id, AL_POSITION, p);
        alSourcef(id, AL_ROLLOFF_FACTOR, 1.0f);
    } else {
        alSourcei(id, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(id, AL_POSITION, 0, 0, 0);
        alSourcef(id, AL_ROLLOFF_FACTOR, 0.0f);
    }
}

// A free source, one that has stopped (taken from its voice), or a new one.
Source* AcquireSource(int voiceHandle) {
    Source* pick = nullptr;
    for (Source& s : g_sources)
        if (!s.owner) {
            pick = &s;
            break;
        }
    if (!pick)
        for (Source& s : g_sources)
            if (!SourcePlaying(s.id)) {
                pick = &s;
                break;
            }
    if (!pick && (int)g_sources.size() < kMaxMonoSources + kMaxStereoSources) {
        // The whole pool at once: a sound started mid-battle then never reaches the heap.
        g_sources.reserve(kMaxMonoSources + kMaxStereoSources);
        ALuint id = 0;
        alGetError();
        alGenSources(1, &id);
        if (alGetError() == AL_NO_ERROR) {
            g_sources.push_back({id, 0});
            pick = &g_sources.back();
        }
    }
    if (!pick) return nullptr;  // every source is playing: this request is dropped
    if (pick->owner) {
        Voice* old = GetVoice(pick->owner);
        if (old) old->source = 0;
    }
    alSourceStop(pick->id);
    alSourcei(pick->id, AL_BUFFER, 0);
    pick->owner = voiceHandle;
    return pick;
}

void FreeSource(Voice& v, int voiceHandle) {
    Source* s = OwnedSource(voiceHandle, v);
    if (s) {
        alSourceStop(s->id);
        alSourcei(s->id, AL_BUFFER, 0);
        s->owner = 0;
    }
    v.source = 0;
}

}  // namespace

int AlOpen() {
    if (g_device) return 1;
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return 0;
    g_openLoopback = (LPALCLOOPBACKOPENDEVICESOFT)alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT");
    g_renderSamples = (LPALCRENDERSAMPLESSOFT)alcGetProcAddress(nullptr, "alcRenderSamplesSOFT");
    if (!g_openLoopback || !g_renderSamples) return 0;
    g_device = g_openLoopback(nullptr);
    if (!g_device) return 0;
    g_generation = (g_generation + 1) % 1024;
    const ALCint attrs[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT,
                            ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                            ALC_FREQUENCY, kAudioRate,
                            ALC_MONO_SOURCES, kMaxMonoSources,
                            ALC_STEREO_SOURCES, kMaxStereoSources,
                            ALC_HRTF_SOFT, ALC_FALSE,
                            0};
    g_context = alcCreateContext(g_device, attrs);
    if (!g_context || !alcMakeContextCurrent(g_context)) {
        if (g_context) alcDestroyContext(g_context);
        alcCloseDevice(g_device);
        g_context = nullptr;
        g_device = nullptr;
        return 0;
    }
    // DirectSound 3-D defaults: inverse distance from 1 unit on, rolloff 1, no upper bound.
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alListener3f(AL_POSITION, 0, 0, 0);
    const float orientation[6] = {0, 0, -1, 0, 1, 0};
    alListenerfv(AL_ORIENTATION, orientation);
    alListenerf(AL_GAIN, 1.0f);
    LoadEfx();
    return 1;
}

void AlClose() {
    if (!g_device) return;
    for (Stream& s : g_streams)
        if (s.used) {
            alSourceStop(s.source);
            alSourcei(s.source, AL_BUFFER, 0);
            alDeleteSources(1, &s.source);
            alDeleteBuffers(s.blockCount, s.blocks);
        }
    for (Source& s : g_sources) {
        alSourceStop(s.id);
        alSourcei(s.id, AL_BUFFER, 0);
        alDeleteSources(1, &s.id);
    }
    for (Buffer& b : g_buffers)
        if (b.refs) alDeleteBuffers(1, &b.id);
    FreeEfx();
    g_streams.clear();
    g_sources.clear();
    g_voices.clear();
    g_buffers.clear();
    g_buffersByName.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(g_context);
    alcCloseDevice(g_device);
    g_context = nullptr;
    g_device = nullptr;
}

void AlRenderMix(float* interleaved, int frames) {
    if (g_device)
        g_renderSamples(g_device, interleaved, frames);
    else
        std::fill(interleaved, interleaved + frames * kAudioChannels, 0.0f);
}

// ---- buffers

int SysSoundFindBuffer(const char* name) {
    auto it = g_buffersByName.find(name ? name : "");
    if (it == g_buffersByName.end()) return 0;
    Buffer* b = GetBuffer(it->second);
    if (!b) return 0;
    ++b->refs;
    return it->second;
}

int SysSoundCreateBuffer(const char* name, const SysPcmFormat& format, const void* data, size_t bytes) {
    if (!g_device) return 0;
    ALenum alFormat = AlFormat(format);
    int frameBytes = format.channels * format.bits / 8;
    if (!alFormat || format.rate <= 0 || bytes < (size_t)frameBytes || bytes > 0x7fffffffu) return 0;
    bytes -= bytes % frameBytes;  // OpenAL takes whole sample frames only
    ALuint id = 0;
    alGetError();
    alGenBuffers(1, &id);
    if (alGetError() != AL_NO_ERROR) return 0;
    alBufferData(id, alFormat, data, (ALsizei)bytes, format.rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &id);
        return 0;
    }
    size_t i = FreeSlot(g_buffers, [](const Buffer& x) { return x.refs > 0; });
    int h = MakeHandle(i);
    Buffer& b = g_buffers[i];
    b.id = id;
    b.refs = 1;
    b.name = name ? name : "";
    if (!b.name.empty() && !g_buffersByName.count(b.name)) g_buffersByName[b.name] = h;
    return h;
}

void SysSoundReleaseBuffer(int h) {
    Buffer* b = GetBuffer(h);
    if (!b || --b->refs > 0) return;
    auto it = g_buffersByName.find(b->name);
    if (it != g_buffersByName.end() && it->second == h) g_buffersByName.erase(it);
    alDeleteBuffers(1, &b->id);
    b->id = 0;
    b->name.clear();
}

int SysSoundGetBufferCount() {
    int n = 0;
    for (const Buffer& b : g_buffers) n += b.refs ? 1 : 0;
    return n;
}

// ---- voices

int SysVoiceCreate(int buffer, int positional) {
    Buffer* b = GetBuffer(buffer);
    if (!b) return 0;
    ++b->refs;
    size_t i = FreeSlot(g_voices, [](const Voice& x) { return x.used != 0; });
    int h = MakeHandle(i);
    Voice& v = g_voices[i];
    v = Voice{};
    v.used = 1;
    v.buffer = buffer;
    v.positional = positional ? 1 : 0;
    return h;
}

void SysVoiceDestroy(int h) {
    Voice* v = GetVoice(h);
    if (!v) return;
    FreeSource(*v, h);
    SysSoundReleaseBuffer(v->buffer);
    *v = Voice{};
}

void SysVoicePlay(int h, int loop) {
    Voice* v = GetVoice(h);
    if (!v) return;
    Source* s = OwnedSource(h, *v);
    if (!s) {
        s = AcquireSource(h);
        if (!s) return;
        v->source = (int)(s - g_sources.data()) + 1;
        alSourcei(s->id, AL_BUFFER, (ALint)GetBuffer(v->buffer)->id);
        ApplyPlacement(*v, s->id);
        ApplyEffect(*v, s->id);
        alSourcef(s->id, AL_GAIN, v->gain);
    }
    alSourcei(s->id, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourceRewind(s->id);
    alSourcePlay(s->id);
}

void SysVoiceStop(int h) {
    Voice* v = GetVoice(h);
    Source* s = v ? OwnedSource(h, *v) : nullptr;
    if (s) alSourceStop(s->id);
}

int SysVoiceIsPlaying(int h) {
    Voice* v = GetVoice(h);
    Source* s = v ? OwnedSource(h, *v) : nullptr;
    return s && SourcePlaying(s->id) ? 1 : 0;
}

void SysVoiceSetGain(int h, float gain) {
    Voice* v = GetVoice(h);
    if (!v) return;
    v->gain = std::max(0.0f, gain);
    if (Source* s = OwnedSource(h, *v)) alSourcef(s->id, AL_GAIN, v->gain);
}

void SysVoiceSetPosition(int h, float x, float y, float z) {
    Voice* v = GetVoice(h);
    if (!v || !v->positional) return;
    v->pos[0] = x;
    v->pos[1] = y;
    v->pos[2] = z;
    if (Source* s = OwnedSource(h, *v)) ApplyPlacement(*v, s->id);
}

int SysVoiceGetBuffer(int h) {
    Voice* v = GetVoice(h);
    return v ? v->buffer : 0;
}

int SysVoiceGetSourceCount() { return (int)g_sources.size(); }

void SysVoiceSetEffect(int h, int effect) {
    Voice* v = GetVoice(h);
    if (!v) return;
    v->effect = effect >= 0 && effect <= kSoundEffectLast ? effect : -1;
    if (Source* s = OwnedSource(h, *v)) ApplyEffect(*v, s->id);
}

// ---- listener

void SysListenerSetPosition(float x, float y, float z) {
    if (!g_device) return;
    float p[3] = {x, y, z};
    ToAl(p);
    alListenerfv(AL_POSITION, p);
}

void SysListenerSetOrientation(float fx, float fy, float fz, float tx, float ty, float tz) {
    if (!g_device) return;
    float o[6] = {fx, fy, fz, tx, ty, tz};
    ToAl(o);
    ToAl(o + 3);
    alListenerfv(AL_ORIENTATION, o);
}

void SysListenerSetDistanceFactor(float metersPerUnit) {
    if (!g_device || !(metersPerUnit > 0.0f)) return;
    alListenerf(AL_METERS_PER_UNIT, metersPerUnit);
}

// ---- streams

int SysStreamCreate(const SysPcmFormat& format, int blockBytes, int blockCount) {
    ALenum alFormat = AlFormat(format);
    int frameBytes = alFormat ? format.channels * format.bits / 8 : 0;
    if (!g_device || !alFormat || format.rate <= 0 || blockBytes < frameBytes || blockCount < 1 ||
        blockCount > kMaxStreamBlocks)
        return 0;
    Stream s;
    s.used = 1;
    s.format = alFormat;
    s.rate = format.rate;
    s.frameBytes = frameBytes;
    s.blockCount = blockCount;
    alGetError();
    alGenSources(1, &s.source);
    if (alGetError() != AL_NO_ERROR) return 0;
    alGenBuffers(blockCount, s.blocks);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteSources(1, &s.source);
        return 0;
    }
    // Silence of the sample type: 8-bit PCM is unsigned around 128.
    std::vector<unsigned char> silence((size_t)(blockBytes - blockBytes % frameBytes), format.bits == 8 ? 128 : 0);
    for (int i = 0; i < blockCount; ++i) alBufferData(s.blocks[i], alFormat, silence.data(), (ALsizei)silence.size(), format.rate);
    alSourcei(s.source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(s.source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourceQueueBuffers(s.source, blockCount, s.blocks);
    alSourcePlay(s.source);
    size_t i = FreeSlot(g_streams, [](const Stream& x) { return x.used != 0; });
    g_streams[i] = s;
    return MakeHandle(i);
}

void SysStreamDestroy(int h) {
    Stream* s = GetStream(h);
    if (!s) return;
    alSourceStop(s->source);
    alSourcei(s->source, AL_BUFFER, 0);
    alDeleteSources(1, &s->source);
    alDeleteBuffers(s->blockCount, s->blocks);
    *s = Stream{};
}

int SysStreamWaitBlock(int h, unsigned timeoutMs) {
    Uint32 start = SDL_GetTicks();
    for (;;) {
        Stream* s = GetStream(h);
        if (!s) return 0;
        ALint processed = 0;
        alGetSourcei(s->source, AL_BUFFERS_PROCESSED, &processed);
        if (processed > 0) return 1;
        if (SDL_GetTicks() - start >= timeoutMs) return 0;
        SDL_Delay(1);
    }
}

int SysStreamQueue(int h, const void* data, size_t bytes) {
    Stream* s = GetStream(h);
    if (!s || !data || bytes > 0x7fffffffu) return 0;
    bytes -= bytes % s->frameBytes;
    if (bytes == 0) return 0;
    ALint processed = 0;
    alGetSourcei(s->source, AL_BUFFERS_PROCESSED, &processed);
    if (processed <= 0) return 0;
    ALuint block = 0;
    alGetError();
    alSourceUnqueueBuffers(s->source, 1, &block);
    alBufferData(block, s->format, data, (ALsizei)bytes, s->rate);
    int ok = alGetError() == AL_NO_ERROR;
    // Requeued even when the data was refused (it then replays its old samples): never lose a block.
    alSourceQueueBuffers(s->source, 1, &block);
    // A queue that ran dry stopped the source; the new block starts it again.
    if (!SourcePlaying(s->source)) alSourcePlay(s->source);
    return ok;
}
