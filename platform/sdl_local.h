// Platform-internal: what the SDL backends share. Never included outside platform/.
#pragma once

#include <SDL2/SDL.h>

SDL_Window* SdlGetWindow();
// Backends (input, text input) see every SDL event the pump takes.
void SdlAddEventListener(void (*listener)(const SDL_Event& e));
void SdlRemoveEventListener(void (*listener)(const SDL_Event& e));
// SDL_Init for a subsystem, counted so independent backends can share SDL.
int SdlInitSubsystem(Uint32 flags);
