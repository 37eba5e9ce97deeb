// MIDI music and movies (placeholder until music is built).
#pragma once

int InitDirectMusic();   // 1 when the device is up
void FreeDirectMusic();
void PlaceVideoWindow();  // keeps a movie window over the client area
