// Engine-internal: the one input record the poll fills and the queries read.
#pragma once

#include "input.h"

struct InputState {
    unsigned char keys[kKeyCount];          // bit 7: down
    unsigned char prevKeys[kKeyCount];
    unsigned char quitKey;                  // 0: none (code 0 never goes down)
    unsigned char quitKeyHeldOver;          // given while down: closes only once seen up
    unsigned short typed[kTypedCharQueue];  // typed and not yet taken, oldest at typedFirst: kind << 8 | byte
    int typedFirst;
    int typedCount;
    unsigned char buttons[kMouseButtonCount];
    unsigned char prevButtons[kMouseButtonCount];
    int cursorX, cursorY;
    int wheel;
    int joysticksEnabled;
    int joystickCount;
    unsigned char joy[kMaxJoysticks][kJoystickEntryCount];
    unsigned char prevJoy[kMaxJoysticks][kJoystickEntryCount];
};

extern InputState g_input;

// (current bit 7) * 2 + (previous bit 7)
inline int FourState(unsigned char current, unsigned char previous) {
    return ((current & 0x80) ? 2 : 0) + ((previous & 0x80) ? 1 : 0);
}
