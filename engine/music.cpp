// MIDI music over the platform's synthesiser. The whole file is read into memory at load, so the
// caller may change folder right after; the "performance" is the synthesiser's player of it.
#include "music.h"

#include "debug_log.h"

#include "sys_audio.h"
#include "sys_music.h"
#include "sys_path.h"
#include "sys_window.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

int g_loader = 0;                 // the synthesiser is up
int g_performance = 0;            // the loaded file is ready in the synthesiser's player
int g_segment = 0;                // a file is loaded
std::vector<uint8_t> g_segmentData;
int g_segmentState = 0;           // playback was started and not stopped since
int g_savedTick = 0;              // where the next PlayMusic starts
std::string g_loadedName;         // set even when loading failed

uint32_t Be32(const uint8_t* p) { return ((uint32_t)p[0] << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }
uint16_t Be16(const uint8_t* p) { return (uint16_t)((p[0] << 8) | p[1]); }

// A standard MIDI file: its header chunk and at least its first track chunk lie within the file.
int IsStandardMidi(const std::vector<uint8_t>& d) {
    if (d.size() < 14 || memcmp(d.data(), "MThd", 4) != 0) return 0;
    uint32_t headerSize = Be32(&d[4]);
    uint16_t format = Be16(&d[8]), tracks = Be16(&d[10]), division = Be16(&d[12]);
    if (headerSize < 6 || format > 2 || tracks == 0 || division == 0) return 0;
    uint64_t track = 8 + (uint64_t)headerSize;
    if (track + 8 > d.size() || memcmp(&d[track], "MTrk", 4) != 0) return 0;
    return track + 8 + Be32(&d[track + 4]) <= d.size() ? 1 : 0;
}

}  // namespace

int InitDirectMusic() {
    DebugSeparator();
    LogPrintf("InitDirectMusic\n");
    if (!SysMusicOpen()) {
        SysMessageBox("エラー", "DirectMusicローダーが作成できません.");
        return 0;
    }
    g_loader = 1;
    // Without the soundfont the music is silent; the game runs all the same.
    if (!SysMusicHasSoundFont()) LogPrintf("load(%s) ... failed.\n", SysMusicGetSoundFontPath());
    return 1;
}

void FreeDirectMusic() {
    if (!g_loader) return;
    DebugSeparator();
    LogPrintf("FreeDirectMusic\n");
    UnloadMidi();
    SysMusicClose();
    g_loader = 0;
    g_loadedName.clear();
}

int IsMusicDeviceUp() { return g_loader; }

int LoadMidi(const char* path) {
    LogPrintf("load(%s) ... ", path);
    g_loadedName = path;
    if (g_segment) UnloadMidi();
    // A relative path is taken from the current folder, which the caller has set to its music folder.
    std::vector<uint8_t> data;
    if (!g_loader || !SysReadFile(path, &data) || data.size() < 4 || memcmp(data.data(), "MThd", 4) != 0) {
        LogPrintf("can't load object.\n");
        return 0;
    }
    g_segmentData = std::move(data);
    g_segment = 1;
    LogPrintf("ok.\n");
    if (!IsStandardMidi(g_segmentData)) {
        LogPrintf("midi err.\n");
        return 0;
    }
    return CreateMusicPerformance();
}

int CreateMusicPerformance() {
    if (!SysMusicLoad(g_segmentData.data(), g_segmentData.size())) {
        SysMessageBox("エラー", "パフォーマンスが作成できません.");
        return 0;
    }
    if (!SysAudioIsOpen()) {
        SysMusicUnload();
        SysMessageBox("エラー", "パフォーマンスが初期化できません.");
        return 0;
    }
    g_performance = 1;
    return 1;
}

void UnloadMidi() {
    StopMusic();
    if (g_performance) SysMusicUnload();
    g_performance = 0;
    g_segment = 0;
    g_segmentData.clear();
}

void PlayMusic(int loop) {
    if (!g_segment || !g_performance) return;
    SysMusicPlay(loop, g_savedTick);
    g_segmentState = 1;
}

void StopMusic() {
    if (!g_segment || !g_performance) return;
    SysMusicStop();
    g_savedTick = 0;
    g_segmentState = 0;
}

void PauseMusic() {
    if (!g_segment || !g_performance) return;
    int tick = g_segmentState ? SysMusicGetTick() : g_savedTick;
    SysMusicStop();
    g_savedTick = tick;
    g_segmentState = 0;
}

int IsMusicPlaying() { return g_segment && g_performance && SysMusicIsPlaying() ? 1 : 0; }

void PlayMidiFile(const char* path) {
    if (g_loadedName != path) LoadMidi(path);
    if (!IsMusicPlaying()) PlayMusic(1);
}

const char* GetLoadedMidiName() { return g_loadedName.c_str(); }
