// Platform-internal: what the input backends (keys and mouse, joysticks, text) share.
#pragma once

#include "sdl_local.h"

// The 640 x 480 frame's place in the window: frame point -> window pixel.
void SdlFrameToWindow(int x, int y, int* wx, int* wy);

// Joysticks (sdl_joystick.cpp), driven by the keyboard-and-mouse backend's listener.
int SdlJoystickInit();
void SdlJoystickShutdown();
void SdlJoystickEvent(const SDL_Event& e);

// Text input (sdl_text_input.cpp).
void SdlTextInputInit();
void SdlTextInputShutdown();
