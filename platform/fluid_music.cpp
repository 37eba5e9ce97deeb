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
// While looping, the end of a pass is looked for after every block of the synthesiser.
constexpr int kLoopBlock = 64;

std::string g_soundFontPath = kSystemSoundFont;
fluid_settings_t* g_settings = nullptr;
fluid_synth_t* g_synth = nullptr;
fluid_player_t* g_player = nullptr;
int g_soundFont = -1;
// Everything below that the output callback also reads is changed only under AudioLock.
std::vector<unsigned char> g_midi;   // the loaded file; each play starts a fresh player from it
// Repeats are ours, never FluidSynth's: its own endless loop spins without end on a file that
// lasts no time or that it cannot read (an empty tune, SMPTE timing), hanging the mix.
int g_loop = 0;
int g_silentLoop = 0;   // looping a file with nothing to repeat: it counts as playing, silently
float g_left[kRenderChunk], g_right[kRenderChunk];

void QuietLog(int, const char*, void*) {}

void DeletePlayer() {
    g_silentLoop = 0;
    if (!g_player) return;
    fluid_player_stop(g_player);
    delete_fluid_player(g_player);
    g_player = nullptr;
    fluid_synth_all_sounds_off(g_synth, -1);
    fluid_synth_system_reset(g_synth);  // programs and controllers of the last file do not carry over
}

// A player of the loaded file for one pass from the given tick; null when it cannot start.
fluid_player_t* StartPass(int startTick) {
    fluid_player_t* player = new_fluid_player(g_synth);
    if (!player) return nullptr;
    if (fluid_player_add_mem(player, g_midi.data(), g_midi.size()) != FLUID_OK) {
        delete_fluid_player(player);
        return nullptr;
    }
    fluid_player_set_loop(player, 1);
    if (startTick > 0) fluid_player_seek(player, startTick);
    fluid_player_play(player);
    return player;
}

// After a block: a looped pass that has reached its last tick starts again from the beginning
// (the player itself would report its end only once the last notes have rung out). A file
// that holds no ticks, or that the player could not read, has nothing to repeat.
void ContinueLoop() {
    if (!g_loop || !g_player) return;
    const int total = fluid_player_get_total_ticks(g_player);
    const bool ended = fluid_player_get_status(g_player) == FLUID_PLAYER_DONE ||
                       (total > 0 && fluid_player_get_current_tick(g_player) >= total);
    if (!ended) return;
    DeletePlayer();
    if (total > 0) g_player = StartPass(0);
    if (!g_player) g_silentLoop = 1;
}

}  // namespace

void MusicRenderAdd(float* interleaved, int frames) {
    if (!g_synth) return;
    while (frames > 0) {
        int n = frames < kRenderChunk ? frames : kRenderChunk;
        if (g_loop && g_player && n > kLoopBlock) n = kLoopBlock;
        if (fluid_synth_write_float(g_synth, n, g_left, 0, 1, g_right, 0, 1) != FLUID_OK) return;
        for (int i = 0; i < n; ++i) {
            interleaved[2 * i] += g_left[i];
            interleaved[2 * i + 1] += g_right[i];
        }
        interleaved += 2 * n;
        frames -= n;
        ContinueLoop();
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
    g_loop = 0;
    g_midi.clear();
}

int SysMusicHasSoundFont() { return g_synth && g_soundFont >= 0 ? 1 : 0; }

const char* SysMusicGetSoundFontPath() { return g_soundFontPath.c_str(); }

void SysMusicSetSoundFontPath(const char* path) { g_soundFontPath = path ? path : kSystemSoundFont; }

int SysMusicLoad(const void* midi, size_t bytes) {
    if (!g_synth || !midi || bytes == 0) return 0;
    AudioLock();
    DeletePlayer();
    g_loop = 0;
    g_midi.assign((const unsigned char*)midi, (const unsigned char*)midi + bytes);
    AudioUnlock();
    return 1;
}

void SysMusicUnload() {
    AudioLock();
    if (g_synth) DeletePlayer();
    g_loop = 0;
    g_midi.clear();
    AudioUnlock();
}

int SysMusicIsLoaded() { return g_midi.empty() ? 0 : 1; }

void SysMusicPlay(int loop, int startTick) {
    if (!g_synth || g_midi.empty()) return;
    AudioLock();
    DeletePlayer();
    g_loop = loop ? 1 : 0;
    g_player = StartPass(startTick);
    AudioUnlock();
}

void SysMusicStop() {
    if (!g_synth) return;
    AudioLock();
    DeletePlayer();
    g_loop = 0;
    AudioUnlock();
}

int SysMusicIsPlaying() {
    AudioLock();
    // A looped pass that ended in the last block is about to start again.
    int playing = g_silentLoop || (g_player && (g_loop || fluid_player_get_status(g_player) == FLUID_PLAYER_PLAYING));
    AudioUnlock();
    return playing ? 1 : 0;
}

int SysMusicGetTick() {
    AudioLock();
    int tick = g_player ? fluid_player_get_current_tick(g_player) : 0;
    AudioUnlock();
    return tick < 0 ? 0 : tick;
}
