// MIDI music standing in for DirectMusic: a FluidSynth synthesiser with the General MIDI
// soundfont, rendered into the sound output of sys_audio.h. One standard MIDI file at a time.
#pragma once

#include <cstddef>

int SysMusicOpen();                   // the synthesiser; 1 on success (a missing soundfont still succeeds)
void SysMusicClose();
int SysMusicHasSoundFont();           // 0: the soundfont could not be loaded and music is silent
const char* SysMusicGetSoundFontPath();
void SysMusicSetSoundFontPath(const char* path);  // tests; nullptr restores the system soundfont

// The loaded file: the bytes are copied, so the caller may free them at once.
int SysMusicLoad(const void* midi, size_t bytes);   // 1 when ready to play (replaces the loaded one)
void SysMusicUnload();
int SysMusicIsLoaded();
void SysMusicPlay(int loop, int startTick);    // loop: repeat without end; else play once
void SysMusicStop();                           // silences every note at once
int SysMusicIsPlaying();
int SysMusicGetTick();                         // position of the playing file, MIDI ticks
