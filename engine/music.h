// MIDI music (one standard MIDI file at a time, looped) and the movie player's window side.
// The game has no movies: PlayMovie cannot render a file here, so the movie handlers find
// nothing to do; the media-event path is real and stops a movie on its completion events.
#pragma once

// Device
int InitDirectMusic();              // 1 when up; a missing soundfont only logs and stays silent
void FreeDirectMusic();
int IsMusicDeviceUp();

// Music
int LoadMidi(const char* path);     // reads the whole file now (callers change folder right after)
void UnloadMidi();
int CreateMusicPerformance();
void PlayMusic(int loop);           // from the saved position
void StopMusic();                   // and back to the start
void PauseMusic();                  // the next PlayMusic continues from here
int IsMusicPlaying();
void PlayMidiFile(const char* path);  // the game's entry: loads when the path changed, plays unless playing
const char* GetLoadedMidiName();

// Movies
int InitDirectShow();
void FreeDirectShow();
int PlayMovie(const char* path);    // 0 here: no file can be rendered
void StopMovie();
int IsMoviePlaying();
void OnDirectShowEvent();           // the media-event message of the main window
void PlaceVideoWindow();            // keeps a movie window over the client area
