// FluidSynth behind the MIDI music. No FluidSynth audio driver runs: the output mixer renders
// the synthesiser in its callback, and the file player is timed by the samples rendered.
#include "audio_local.h"
#include "sys_audio.h"
#include "sys_music.h"

#include <fluidsynth.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kSystemSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";  // timgm6mb-soundfont
constexpr double kSynthGain = 0.4;   // the soundfont's instruments stay well clear of clipping
constexpr int kRenderChunk = 1024;

std::string g_soundFontPath = kSystemSoundFont;
fluid_settings_t* g_settings = nullptr;
fluid_synth_t* g_synth = nullptr;
fluid_player_t* g_player = nullptr;
int g_soundFont = -1;
std::vector<unsigned char> g_midi;   // the loaded file; each play starts a fresh player from it
float g_left[kRenderChunk], g_right[kRenderChunk];

void QuietLog(int, const char*, void*) {}

void DeletePlayer() {
    if (!g_player) return;
    fluid_player_stop(g_player);
    delete_fluid_player(g_player);
    g_player = nullptr;
    fluid_synth_all_sounds_off(g_synth, -1);
    fluid_synth_system_reset(g_synth);  // programs and controllers of the last file do not carry over
}

}  // namespace

void MusicRenderAdd(float* interleaved, int frames) {
    if (!g_synth) return;
    while (frames > 0) {
        int n = frames < kRenderChunk ? frames : kRenderChunk;
        if (fluid_synth_write_float(g_synth, n, g_left, 0, 1, g_right, 0, 1) != FLUID_OK) return;
        for (int i = 0; i < n; ++i) {
            interleaved[2 * i] += g_left[i];
            interleaved[2 * i + 1] += g_right[i];
        }
        interleaved += 2 * n;
        frames -= n;
    }
}

int SysMusicOpen() {
    if (g_synth) return 1;
    // FluidSynth reports to standard error by default; its failures show in our own results instead.
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) fluid_set_log_function(level, QuietLog, nullptr);
    g_settings = new_fluid_settings();
    if (!g_settings) return 0;
    fluid_settings_setnum(g_settings, "synth.sample-rate", kAudioRate);
    fluid_settings_setnum(g_settings, "synth.gain", kSynthGain);
    fluid_settings_setint(g_settings, "synth.audio-channels", 1);
    fluid_settings_setstr(g_settings, "player.timing-source", "sample");
    fluid_synth_t* synth = new_fluid_synth(g_settings);
    if (!synth) {
        delete_fluid_settings(g_settings);
        g_settings = nullptr;
        return 0;
    }
    g_soundFont = fluid_synth_sfload(synth, g_soundFontPath.c_str(), 1);
    AudioLock();
    g_synth = synth;
    AudioUnlock();
    return 1;
}

void SysMusicClose() {
    if (!g_synth) return;
    AudioLock();
    DeletePlayer();
    fluid_synth_t* synth = g_synth;
    g_synth = nullptr;
    AudioUnlock();
    delete_fluid_synth(synth);
    delete_fluid_settings(g_settings);
    g_settings = nullptr;
    g_soundFont = -1;
    g_midi.clear();
}

int SysMusicHasSoundFont() { return g_synth && g_soundFont >= 0 ? 1 : 0; }

const char* SysMusicGetSoundFontPath() { return g_soundFontPath.c_str(); }

void SysMusicSetSoundFontPath(const char* path) { g_soundFontPath = path ? path : kSystemSoundFont; }

int SysMusicLoad(const void* midi, size_t bytes) {
    if (!g_synth || !midi || bytes == 0) return 0;
    SysMusicUnload();
    g_midi.assign((const unsigned char*)midi, (const unsigned char*)midi + bytes);
    return 1;
}

void SysMusicUnload() {
    if (!g_synth) return;
    AudioLock();
    DeletePlayer();
    AudioUnlock();
    g_midi.clear();
}

int SysMusicIsLoaded() { return g_midi.empty() ? 0 : 1; }

void SysMusicPlay(int loop, int startTick) {
    if (!g_synth || g_midi.empty()) return;
    AudioLock();
    DeletePlayer();
    g_player = new_fluid_player(g_synth);
    if (g_player && fluid_player_add_mem(g_player, g_midi.data(), g_midi.size()) == FLUID_OK) {
        fluid_player_set_loop(g_player, loop ? -1 : 1);
        if (startTick > 0) fluid_player_seek(g_player, startTick);
        fluid_player_play(g_player);
    } else if (g_player) {
        delete_fluid_player(g_player);
        g_player = nullptr;
    }
    AudioUnlock();
}

void SysMusicStop() {
    if (!g_synth) return;
    AudioLock();
    DeletePlayer();
    AudioUnlock();
}

int SysMusicIsPlaying() {
    if (!g_player) return 0;
    AudioLock();
    int playing = fluid_player_get_status(g_player) == FLUID_PLAYER_PLAYING;
    AudioUnlock();
    return playing ? 1 : 0;
}

int SysMusicGetTick() {
    if (!g_player) return 0;
    AudioLock();
    int tick = fluid_player_get_current_tick(g_player);
    AudioUnlock();
    return tick < 0 ? 0 : tick;
}
